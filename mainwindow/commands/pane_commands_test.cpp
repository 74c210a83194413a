#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <memory>
#include <stdexcept>
#include <string>

#include "conversion/convert.h"
#include "conversion/testing/random_text.h"
#include "cp932/cp932_codec.h"
#include "mainwindow/commands/pane_commands.h"
#include "windowlayer/text/cp932_clipboard.h"

using vesk::BytePane;

namespace {

// A conversion that hands its input back unchanged and remembers it.
struct RecordingConverter {
  std::string operator()(std::string_view input) const {
    *seen = std::string(input);
    return *seen;
  }
  std::shared_ptr<std::string> seen = std::make_shared<std::string>();
};

QByteArray bytesOf(const std::string& s) {
  return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

void select(BytePane& pane, int anchor, int position) {
  QTextCursor cursor = pane.textCursor();
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  pane.setTextCursor(cursor);
}

int endOf(const BytePane& pane) { return pane.document()->characterCount() - 1; }

// Every code whose character code page 932 also holds under another code,
// each followed by a space.
QByteArray everyDuplicateCode() {
  QByteArray codes;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string text = vesk::cp932::decode(code);
      if (text.size() == 1 && vesk::cp932::exchangeForm(text[0]) != text[0]) {
        codes += bytesOf(code) + ' ';
      }
    }
  }
  return codes;
}

}  // namespace

class PaneCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void panesAgreeWithTheEngine_data();
  void panesAgreeWithTheEngine();
  void convertFeedsTheWholeTextAndAppendsOneLine_data();
  void convertFeedsTheWholeTextAndAppendsOneLine();
  void convertClearsTheTargetBeforeReadingTheSource();
  void failedConvertLeavesTheTargetEmpty();
  void longWrappedLineConvertsAsOneLine();
  void pasteReplacesTheWholePane_data();
  void pasteReplacesTheWholePane();
  void copyTakesTheWholePaneAndKeepsItSelected();
  void copyOfAnEmptyPaneLeavesTheClipboard();
};

// What the command line gives for a text, the panes give too: pasted raw,
// copied raw, and converted, in both panes.
void PaneCommandsTest::panesAgreeWithTheEngine_data() {
  QTest::addColumn<QByteArray>("text");
  const QByteArray duplicates = everyDuplicateCode();
  QCOMPARE(duplicates.size(), 398 * 3);
  QTest::newRow("every duplicate code") << duplicates;
  QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc\r\r\n\n\r\x81\r\xb6\n");
  vesk::testing::RandomText texts(932);
  for (int i = 0; i < 20; ++i) {
    QTest::addRow("random text %d", i) << bytesOf(texts.next(300));
  }
  QByteArray bytes(5000, '\0');
  for (char& byte : bytes) byte = static_cast<char>(texts.upTo(255));
  QTest::newRow("random bytes") << bytes;
}

void PaneCommandsTest::panesAgreeWithTheEngine() {
  QFETCH(QByteArray, text);
  const std::string_view input(text.constData(), static_cast<std::size_t>(text.size()));
  using Conversion = std::string (*)(std::string_view);
  for (const Conversion convert :
       {Conversion{&vesk::ConvertHtoZ}, Conversion{&vesk::ConvertZtoH}}) {
    BytePane source;
    BytePane target;
    vesk::putBytesOnClipboard(text);
    vesk::pasteReplacing(source);
    vesk::copyWhole(source);
    QCOMPARE(vesk::bytesFromClipboard(), text);
    vesk::convertInto(source, target, convert);
    vesk::copyWhole(target);
    QCOMPARE(vesk::bytesFromClipboard(), bytesOf(convert(input)) + "\r\n");
  }
}

void PaneCommandsTest::convertFeedsTheWholeTextAndAppendsOneLine_data() {
  QTest::addColumn<QByteArray>("source");
  QTest::addColumn<QByteArray>("target");
  QTest::newRow("fresh source") << QByteArray("\r\n") << QByteArray("\r\n\r\n");
  QTest::newRow("empty source") << QByteArray() << QByteArray("\r\n");
  QTest::newRow("no final break") << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n");
  QTest::newRow("final break") << QByteArray("a\r\n") << QByteArray("a\r\n\r\n");
  QTest::newRow("lone half-width kana last")
      << QByteArray::fromHex("41b6") << QByteArray::fromHex("41b60d0a");
  QTest::newRow("incomplete two-byte code last")
      << QByteArray::fromHex("4183") << QByteArray::fromHex("41830d0a");
  QTest::newRow("user-defined lead byte last")
      << QByteArray::fromHex("f0") << QByteArray::fromHex("f00d0a");
  QTest::newRow("many lines, empty ones among them")
      << QByteArray("ab\r\n\r\n").repeated(5000) + "c"
      << QByteArray("ab\r\n\r\n").repeated(5000) + "c\r\n";
}

// The source stays as it was, its selection included.
void PaneCommandsTest::convertFeedsTheWholeTextAndAppendsOneLine() {
  QFETCH(QByteArray, source);
  QFETCH(QByteArray, target);
  BytePane from;
  BytePane to;
  from.setText(source);
  select(from, endOf(from), endOf(from) / 2);
  const QTextCursor selection = from.textCursor();
  to.setText("old");
  const RecordingConverter convert;
  vesk::convertInto(from, to, convert);
  QCOMPARE(bytesOf(*convert.seen), source);
  QCOMPARE(to.text(), target);
  QCOMPARE(to.textCursor().position(), endOf(to));
  QCOMPARE(from.text(), source);
  QCOMPARE(from.textCursor(), selection);
}

void PaneCommandsTest::convertClearsTheTargetBeforeReadingTheSource() {
  BytePane from;
  BytePane to;
  from.setText("source");
  to.setText("old target");
  QByteArray targetWhileConverting = "unset";
  vesk::convertInto(from, to, [&](std::string_view input) {
    targetWhileConverting = to.text();
    return std::string(input);
  });
  QCOMPARE(targetWhileConverting, QByteArray());

  // With one pane as both, the cleared pane is what gets read.
  vesk::convertInto(from, from, RecordingConverter{});
  QCOMPARE(from.text(), QByteArray("\r\n"));
}

void PaneCommandsTest::failedConvertLeavesTheTargetEmpty() {
  BytePane from;
  BytePane to;
  from.setText("source");
  to.setText("old target");
  const auto outOfMemory = [](std::string_view) -> std::string { throw std::bad_alloc(); };
  QVERIFY_THROWS_EXCEPTION(std::bad_alloc, vesk::convertInto(from, to, outOfMemory));
  QCOMPARE(to.text(), QByteArray());
  QCOMPARE(from.text(), QByteArray("source"));
}

void PaneCommandsTest::longWrappedLineConvertsAsOneLine() {
  BytePane from;
  BytePane to;
  from.resize(150, 200);
  from.show();
  QVERIFY(QTest::qWaitForWindowExposed(&from));
  const QByteArray line = QByteArray::fromHex("b6de20").repeated(400);
  from.setText(line);
  QTRY_VERIFY(from.document()->firstBlock().layout()->lineCount() > 1);
  QCOMPARE(from.lineCount(), 1);
  const RecordingConverter convert;
  vesk::convertInto(from, to, convert);
  QCOMPARE(bytesOf(*convert.seen), line);
  QCOMPARE(to.lineCount(), 2);
}

void PaneCommandsTest::pasteReplacesTheWholePane_data() {
  QTest::addColumn<bool>("offersText");
  QTest::addColumn<QByteArray>("clipboard");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("text") << true << QByteArray::fromHex("b6de0d0a")
                        << QByteArray::fromHex("b6de0d0a");
  QTest::newRow("text without final break")
      << true << QByteArray::fromHex("41b6") << QByteArray::fromHex("41b6");
  QTest::newRow("empty text") << true << QByteArray() << QByteArray();
  QTest::newRow("no text at all keeps the pane")
      << false << QByteArray() << QByteArray("keep\r\nme");
}

void PaneCommandsTest::pasteReplacesTheWholePane() {
  QFETCH(bool, offersText);
  QFETCH(QByteArray, clipboard);
  QFETCH(QByteArray, after);
  if (offersText) {
    vesk::putBytesOnClipboard(clipboard);
  } else {
    auto image = std::make_unique<QMimeData>();
    image->setData(QStringLiteral("image/png"), "\x89PNG");
    QGuiApplication::clipboard()->setMimeData(image.release());
  }
  BytePane pane;
  pane.setText("keep\r\nme");
  select(pane, 2, 4);
  vesk::pasteReplacing(pane);
  QCOMPARE(pane.text(), after);
  if (offersText) QCOMPARE(pane.textCursor().position(), endOf(pane));
}

void PaneCommandsTest::copyTakesTheWholePaneAndKeepsItSelected() {
  BytePane from;
  BytePane pane;
  from.setText(QByteArray::fromHex("b6de"));
  vesk::convertInto(from, pane, vesk::ConvertHtoZ);
  select(pane, 1, 1);
  vesk::copyWhole(pane);
  QCOMPARE(vesk::bytesFromClipboard(), QByteArray::fromHex("834b0d0a"));
  QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("ガ\n"));
  QCOMPARE(pane.textCursor().selectionStart(), 0);
  QCOMPARE(pane.textCursor().selectionEnd(), endOf(pane));
}

void PaneCommandsTest::copyOfAnEmptyPaneLeavesTheClipboard() {
  vesk::putBytesOnClipboard("earlier");
  BytePane pane;
  vesk::copyWhole(pane);
  QCOMPARE(vesk::bytesFromClipboard(), QByteArray("earlier"));
}

QTEST_MAIN(PaneCommandsTest)
#include "pane_commands_test.moc"
