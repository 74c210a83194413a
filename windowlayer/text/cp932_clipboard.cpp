#include "windowlayer/text/cp932_clipboard.h"

#include <QGuiApplication>
#include <QString>

#include "windowlayer/text/clipboard_targets.h"
#include "windowlayer/text/cp932_text.h"
#include "windowlayer/text/x11_selection.h"

namespace vesk {
namespace {

QString rawFormat() { return QString::fromLatin1(kCp932MimeType); }

std::chrono::milliseconds clipboardPatience(5000);

QByteArray bytesIn(const QByteArray& data, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Cp932Bytes:
      return data;
    case TextEncoding::Utf8:
      return bytesFromExchangeText(QString::fromUtf8(data));
    case TextEncoding::Latin1:
      return bytesFromExchangeText(QString::fromLatin1(data));
  }
  return {};
}

std::optional<QByteArray> bytesFromQtMimeData(const QMimeData& data) {
  const std::optional<TextTarget> target = chooseTextTarget(data.formats());
  if (!target) return std::nullopt;
  // Qt answers a transfer that failed (the owner gone or too slow) with null
  // data, and empty text with empty but not null data.
  if (target->name == QLatin1String("text/plain")) {
    const QString text = data.text();
    if (text.isNull()) return std::nullopt;
    return bytesFromExchangeText(text);
  }
  const QByteArray bytes = data.data(target->name);
  if (bytes.isNull()) return std::nullopt;
  return bytesIn(bytes, target->encoding);
}

}  // namespace

std::unique_ptr<QMimeData> mimeDataForBytes(QByteArrayView bytes) {
  auto data = std::make_unique<QMimeData>();
  // Empty but not null, so that readers can tell empty text from none.
  QString text = exchangeTextFromBytes(bytes);
  data->setText(text.isNull() ? QStringLiteral("") : text);
  const QByteArray raw = bytes.toByteArray();
  data->setData(rawFormat(), raw.isNull() ? QByteArrayLiteral("") : raw);
  return data;
}

std::optional<QByteArray> bytesFromMimeData(const QMimeData& data) {
  // A paste from the keyboard hands over the clipboard's own data.
  for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
    if (&data == QGuiApplication::clipboard()->mimeData(mode)) return bytesFromClipboard(mode);
  }
  return bytesFromQtMimeData(data);
}

void putBytesOnClipboard(QByteArrayView bytes, QClipboard::Mode mode) {
  QGuiApplication::clipboard()->setMimeData(mimeDataForBytes(bytes).release(), mode);
}

void setClipboardPatience(std::chrono::milliseconds patience) { clipboardPatience = patience; }

std::optional<QByteArray> bytesFromClipboard(QClipboard::Mode mode) {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const bool ours =
      mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
  if (!ours && qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    const SelectionRead read = readX11SelectionText(
        mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD", clipboardPatience);
    if (read.reached) {
      if (!read.text) return std::nullopt;
      return bytesIn(read.text->bytes, read.text->encoding);
    }
  }
  const QMimeData* data = clipboard->mimeData(mode);
  if (!data) return std::nullopt;
  return bytesFromQtMimeData(*data);
}

}  // namespace vesk
