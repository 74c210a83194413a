#include "windowlayer/text/cp932_clipboard.h"

#include <QGuiApplication>
#include <QString>

#include "windowlayer/text/cp932_text.h"

namespace vesk {
namespace {

QString rawFormat() { return QString::fromLatin1(kCp932MimeType); }

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
  // Qt answers a transfer that failed (the owner gone or too slow) with null
  // data, and empty text with empty but not null data.
  if (data.hasFormat(rawFormat())) {
    QByteArray raw = data.data(rawFormat());
    if (raw.isNull()) return std::nullopt;
    return raw;
  }
  if (data.hasText()) {
    const QString text = data.text();
    if (text.isNull()) return std::nullopt;
    return bytesFromExchangeText(text);
  }
  return std::nullopt;
}

void putBytesOnClipboard(QByteArrayView bytes, QClipboard::Mode mode) {
  QGuiApplication::clipboard()->setMimeData(mimeDataForBytes(bytes).release(), mode);
}

std::optional<QByteArray> bytesFromClipboard(QClipboard::Mode mode) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(mode);
  if (!data) return std::nullopt;
  return bytesFromMimeData(*data);
}

}  // namespace vesk
