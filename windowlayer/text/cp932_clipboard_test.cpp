#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <memory>
#include <optional>

#include "windowlayer/text/cp932_clipboard.h"

using Bytes = std::optional<QByteArray>;

class Cp932ClipboardTest : public QObject {
  Q_OBJECT

 private slots:
  void offersTextAndRawBytes_data();
  void offersTextAndRawBytes();
  void readsRawBytesFirstThenText_data();
  void readsRawBytesFirstThenText();
  void readsOtherTextForms_data();
  void readsOtherTextForms();
  void clipboardKeepsTheBytes_data();
  void clipboardKeepsTheBytes();
};

void Cp932ClipboardTest::offersTextAndRawBytes_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("lines end in LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
  QTest::newRow("lone breaks kept") << QByteArray("a\nb\r") << QStringLiteral("a\nb\r");
  QTest::newRow("half-width kana") << QByteArray::fromHex("b6de") << QString::fromUtf8("ｶﾞ");
  QTest::newRow("square root's second code as the character")
      << QByteArray::fromHex("81e3") << QString::fromUtf8("√");
  QTest::newRow("user-defined corner") << QByteArray::fromHex("f9fc") << QString(QChar(0xE757));
  QTest::newRow("empty") << QByteArray() << QString();
}

void Cp932ClipboardTest::offersTextAndRawBytes() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  const std::unique_ptr<QMimeData> data = vesk::mimeDataForBytes(bytes);
  QVERIFY(data->hasText());
  QCOMPARE(data->text(), text);
  QVERIFY(data->hasFormat(vesk::kCp932MimeType));
  QCOMPARE(data->data(vesk::kCp932MimeType), bytes);
}

void Cp932ClipboardTest::readsRawBytesFirstThenText_data() {
  QTest::addColumn<Bytes>("raw");
  QTest::addColumn<std::optional<QString>>("text");
  QTest::addColumn<bool>("failed");  // what is offered comes as null data, as Qt gives it then
  QTest::addColumn<Bytes>("bytes");
  using Text = std::optional<QString>;
  QTest::newRow("raw and text") << Bytes("\x81") << Text(QStringLiteral("x")) << false
                                << Bytes("\x81");
  QTest::newRow("raw only") << Bytes(QByteArray::fromHex("f040")) << Text() << false
                            << Bytes(QByteArray::fromHex("f040"));
  QTest::newRow("empty raw beside text")
      << Bytes(QByteArray()) << Text(QStringLiteral("x")) << false << Bytes(QByteArray());
  QTest::newRow("text only") << Bytes() << Text(QString::fromUtf8("ア\r\nｱ")) << false
                             << Bytes(QByteArray::fromHex("83410d0ab1"));
  QTest::newRow("every kind of break becomes CR LF")
      << Bytes() << Text(QString::fromUtf8("a\nb\rc\r\nd\u2028e")) << false
      << Bytes("a\r\nb\r\nc\r\nd\r\ne");
  QTest::newRow("stand-ins") << Bytes() << Text(QString::fromUtf8("〜−")) << false
                             << Bytes(QByteArray::fromHex("8160817c"));
  QTest::newRow("characters outside code page 932")
      << Bytes() << Text(QString::fromUtf8("é😀")) << false << Bytes("??");
  QTest::newRow("empty text") << Bytes() << Text(QString()) << false << Bytes(QByteArray());
  QTest::newRow("neither") << Bytes() << Text() << false << Bytes();
  QTest::newRow("raw transfer that failed")
      << Bytes(QByteArray()) << Text(QStringLiteral("x")) << true << Bytes();
  QTest::newRow("text transfer that failed") << Bytes() << Text(QString()) << true << Bytes();
}

void Cp932ClipboardTest::readsRawBytesFirstThenText() {
  QFETCH(Bytes, raw);
  QFETCH(std::optional<QString>, text);
  QFETCH(bool, failed);
  QFETCH(Bytes, bytes);
  QMimeData data;
  data.setData(QStringLiteral("image/png"), "\x89PNG");
  if (raw) data.setData(vesk::kCp932MimeType, failed ? QByteArray() : QByteArray("") + *raw);
  if (text) data.setText(failed ? QString() : QStringLiteral("") + *text);
  QCOMPARE(vesk::bytesFromMimeData(data), bytes);
}

// Forms that owners other than Qt programs offer, spelt as they spell them.
void Cp932ClipboardTest::readsOtherTextForms_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QByteArray>("offered");
  QTest::addColumn<Bytes>("bytes");
  QTest::newRow("UTF-8, charset in capitals")
      << "text/plain;charset=UTF-8" << QByteArray("XあY") << Bytes(QByteArray::fromHex("5882a059"));
  QTest::newRow("UTF-8, blank before the charset")
      << "text/plain; charset=utf-8" << QByteArray("あ") << Bytes(QByteArray::fromHex("82a0"));
  QTest::newRow("Latin-1") << "STRING" << QByteArray("\xb1\xd7")
                           << Bytes(QByteArray::fromHex("817d817e"));
  QTest::newRow("another charset is no text form")
      << "text/plain;charset=utf-16" << QByteArray("a\0", 2) << Bytes();
}

void Cp932ClipboardTest::readsOtherTextForms() {
  QFETCH(QString, format);
  QFETCH(QByteArray, offered);
  QFETCH(Bytes, bytes);
  QMimeData data;
  data.setData(format, offered);
  QCOMPARE(vesk::bytesFromMimeData(data), bytes);
}

void Cp932ClipboardTest::clipboardKeepsTheBytes_data() {
  QTest::addColumn<Bytes>("bytes");  // none: the clipboard cleared
  QTest::newRow("bytes beginning no character") << Bytes(QByteArray::fromHex("80a0fdfeff8120"));
  QTest::newRow("text with breaks") << Bytes("a\r\n\r\nb");
  QTest::newRow("empty") << Bytes(QByteArray());
  QTest::newRow("cleared") << Bytes();
}

void Cp932ClipboardTest::clipboardKeepsTheBytes() {
  QFETCH(Bytes, bytes);
  vesk::putBytesOnClipboard(bytes.value_or("x"));
  if (!bytes) QGuiApplication::clipboard()->clear();
  QCOMPARE(vesk::bytesFromClipboard(), bytes);
}

QTEST_MAIN(Cp932ClipboardTest)
#include "cp932_clipboard_test.moc"
