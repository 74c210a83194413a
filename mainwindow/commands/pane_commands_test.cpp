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

}  // namespace

class PaneCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void freshPaneHoldsOneEmptyLine();
  void convertFeedsTheWholeTextAndAppendsOneLine_data();
  void convertFeedsTheWholeTextAndAppendsOneLine();
  void convertClearsTheTargetBeforeReadingTheSource();
  void convertLeavesTheSourceAsItWas();
  void failedConvertLeavesTheTargetEmpty();
  void convertingBackAndForthGrowsByOneBreakPerPass_data();
  void convertingBackAndForthGrowsByOneBreakPerPass();
  void longWrappedLineConvertsAsOneLine();
  void pasteReplacesTheWholePane_data();
  void pasteReplacesTheWholePane();
  void copyTakesTheWholePaneAndKeepsItSelected();
  void copyOfAnEmptyPaneLeavesTheClipboard();
};

void PaneCommandsTest::freshPaneHoldsOneEmptyLine() {
  BytePane pane;
  vesk::startWithEmptyLine(pane);
  QCOMPARE(pane.text(), QByteArray("\r\n"));
  QCOMPARE(pane.textCursor().position(), endOf(pane));
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

void PaneCommandsTest::convertFeedsTheWholeTextAndAppendsOneLine() {
  QFETCH(QByteArray, source);
  QFETCH(QByteArray, target);
  BytePane from;
  BytePane to;
  from.setText(source);
  to.setText("old");
  const RecordingConverter convert;
  vesk::convertInto(from, to, convert);
  QCOMPARE(bytesOf(*convert.seen), source);
  QCOMPARE(to.text(), target);
  QCOMPARE(to.textCursor().position(), endOf(to));
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

void PaneCommandsTest::convertLeavesTheSourceAsItWas() {
  BytePane from;
  BytePane to;
  from.setText(QByteArray::fromHex("b6de0d0a8341"));
  select(from, 3, 1);
  vesk::convertInto(from, to, vesk::ConvertHtoZ);
  QCOMPARE(from.text(), QByteArray::fromHex("b6de0d0a8341"));
  QCOMPARE(from.textCursor().anchor(), 3);
  QCOMPARE(from.textCursor().position(), 1);
  QCOMPARE(to.text(), QByteArray::fromHex("834b0d0a83410d0a"));
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

void PaneCommandsTest::convertingBackAndForthGrowsByOneBreakPerPass_data() {
  QTest::addColumn<QByteArray>("local");
  QTest::addColumn<QByteArray>("standard");
  QTest::newRow("fresh window") << QByteArray("\r\n") << QByteArray("\r\n");
  QTest::newRow("kana line") << QByteArray::fromHex("b6deb2c4de")
                             << QByteArray::fromHex("834b83438368");
  QTest::newRow("hiragana and square root")
      << QByteArray::fromHex("f541f056") << QByteArray::fromHex("829f8795");
}

void PaneCommandsTest::convertingBackAndForthGrowsByOneBreakPerPass() {
  QFETCH(QByteArray, local);
  QFETCH(QByteArray, standard);
  BytePane before;
  BytePane after;
  before.setText(local);
  QByteArray breaks;
  for (int pass = 1; pass <= 3; ++pass) {
    breaks += "\r\n";
    vesk::convertInto(before, after, vesk::ConvertHtoZ);
    QCOMPARE(after.text(), standard + breaks);
    breaks += "\r\n";
    vesk::convertInto(after, before, vesk::ConvertZtoH);
    QCOMPARE(before.text(), local + breaks);
  }
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
