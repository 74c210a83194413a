#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>
#include <memory>
#include <optional>

#include "windowlayer/text/byte_pane.h"
#include "windowlayer/text/cp932_clipboard.h"

using vesk::BytePane;

namespace {

QByteArray hex(const char* digits) { return QByteArray::fromHex(digits); }

void select(BytePane& pane, int anchor, int position) {
  QTextCursor cursor = pane.textCursor();
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  pane.setTextCursor(cursor);
}

int endOf(const BytePane& pane) { return pane.document()->characterCount() - 1; }

// Key presses that each carry one character, as a keyboard layout sends them.
void typeCharacters(QWidget& widget, const QString& text) {
  for (qsizetype at = 0; at < text.size();) {
    const qsizetype size = text[at].isHighSurrogate() ? 2 : 1;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(at, size));
    QCoreApplication::sendEvent(&widget, &press);
    at += size;
  }
}

}  // namespace

class BytePaneTest : public QObject {
  Q_OBJECT

 private slots:
  void keepsBytes_data();
  void keepsBytes();
  void typedBreaksReadAsCrLf_data();
  void typedBreaksReadAsCrLf();
  void showsWhatItHoldsAsTextComesIn_data();
  void showsWhatItHoldsAsTextComesIn();
  void countsLinesAndFindsTheirStarts_data();
  void countsLinesAndFindsTheirStarts();
  void appendsALine_data();
  void appendsALine();
  void appendedLineCannotBeUndone_data();
  void appendedLineCannotBeUndone();
  void replacesTheSelectionWithoutUndo();
  void selectionShowsOnlyWhileFocused();
  void tabMovesTheFocus();
  void copiesTheSelectionAsTextAndRawBytes();
  void pastesWhatTheClipboardOffers_data();
  void pastesWhatTheClipboardOffers();
};

void BytePaneTest::keepsBytes_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("empty") << QByteArray();
  QTest::newRow("ascii, tab, controls and nul") << QByteArray("Vesk 1.20\t\x01\x1f\x7f\0.", 15);
  QTest::newRow("final break") << QByteArray("a\r\nb\r\n");
  QTest::newRow("two empty lines") << QByteArray("\r\n\r\n");
  QTest::newRow("lone LF, lone CR, CR CR LF, LF CR") << QByteArray("a\nb\rc\r\r\n\n\rd\r");
  QTest::newRow("half-width kana with marks, corners") << hex("b6deb2c4de a1df");
  QTest::newRow("kanji, local hiragana, user-defined corners") << hex("88a4 f541f663 f040f9fc");
  QTest::newRow("duplicate codes") << hex("81e38795ed40fa5cfa54eef9");
  QTest::newRow("bytes beginning no character") << hex("80a0fdfeff");
  QTest::newRow("lead bytes before a break, ascii, a lone CR") << hex("810d0a41 8120 810d41");
  QTest::newRow("lead byte at the end") << hex("4181");
  QRandomGenerator random(1);
  QByteArray bytes(100000, Qt::Uninitialized);
  for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
  QTest::newRow("random bytes") << bytes;
}

void BytePaneTest::keepsBytes() {
  QFETCH(QByteArray, bytes);
  BytePane pane;
  pane.setText(bytes);
  QCOMPARE(pane.text(), bytes);
  QCOMPARE(pane.textCursor().position(), endOf(pane));
}

void BytePaneTest::typedBreaksReadAsCrLf_data() {
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
  QTest::newRow("Enter") << Qt::KeyboardModifiers();
  QTest::newRow("Shift+Enter") << Qt::KeyboardModifiers(Qt::ShiftModifier);
}

void BytePaneTest::typedBreaksReadAsCrLf() {
  QFETCH(Qt::KeyboardModifiers, modifiers);
  BytePane pane;
  QTest::keyClicks(&pane, "ab");
  QTest::keyClick(&pane, Qt::Key_Return, modifiers);
  QTest::keyClicks(&pane, "c");
  QCOMPARE(pane.text(), QByteArray("ab\r\nc"));
}

// Typing, an input method and text put in by other tools: the pane shows the
// characters it will write as soon as they are in, and one undo takes typed
// text back whole.
void BytePaneTest::showsWhatItHoldsAsTextComesIn_data() {
  QTest::addColumn<QString>("way");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QByteArray>("held");
  for (const QString way : {"keys", "input method", "other tool"}) {
    const QByteArray prefix = way.toUtf8() + ": ";
    QTest::newRow(prefix + "stand-ins")
        << way << QString::fromUtf8("〜−¥") << QString::fromUtf8("～－\\") << hex("8160817c5c");
    QTest::newRow(prefix + "outside the code page")
        << way << QString::fromUtf8("aé😀b") << QStringLiteral("a??b") << QByteArray("a??b");
    QTest::newRow(prefix + "code page 932 text")
        << way << QString::fromUtf8("ｶﾞあ√") << QString::fromUtf8("ｶﾞあ√") << hex("b6de82a08795");
  }
  QTest::newRow("other tool: breaks kept")
      << QStringLiteral("other tool") << QString::fromUtf8("〜\u2029é")
      << QString::fromUtf8("～\u2029?") << hex("81600d0a3f");
}

void BytePaneTest::showsWhatItHoldsAsTextComesIn() {
  QFETCH(QString, way);
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(QByteArray, held);
  BytePane pane;
  pane.setText("x");
  if (way == "keys") {
    typeCharacters(pane, typed);
  } else if (way == "input method") {
    QInputMethodEvent preedit(typed, {});
    QCoreApplication::sendEvent(&pane, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(typed);
    QCoreApplication::sendEvent(&pane, &commit);
  } else {
    pane.textCursor().insertText(typed);
    QCoreApplication::processEvents();
  }
  QCOMPARE(pane.document()->toRawText(), QStringLiteral("x") + shown);
  QCOMPARE(pane.text(), "x" + held);
  if (way != "other tool") {
    pane.undo();
    QCOMPARE(pane.text(), QByteArray("x"));
  }
}

void BytePaneTest::countsLinesAndFindsTheirStarts_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QList<int>>("starts");
  QTest::newRow("empty") << QByteArray() << QList<int>{0};
  QTest::newRow("one empty line") << QByteArray("\r\n") << QList<int>{0, 1};
  QTest::newRow("no final break") << QByteArray("ab\r\ncde") << QList<int>{0, 3};
  QTest::newRow("final break") << QByteArray("ab\r\ncde\r\n") << QList<int>{0, 3, 7};
  QTest::newRow("two-byte codes count once") << hex("82a082a20d0a41") << QList<int>{0, 3};
}

void BytePaneTest::countsLinesAndFindsTheirStarts() {
  QFETCH(QByteArray, bytes);
  QFETCH(QList<int>, starts);
  BytePane pane;
  pane.setText(bytes);
  QCOMPARE(pane.lineCount(), starts.size());
  for (int line = 0; line < starts.size(); ++line) QCOMPARE(pane.lineStart(line), starts[line]);
  QCOMPARE(pane.lineStart(static_cast<int>(starts.size())), -1);
  QCOMPARE(pane.lineStart(-1), -1);
}

void BytePaneTest::appendsALine_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QByteArray>("line");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("empty line to empty pane") << QByteArray() << QByteArray() << QByteArray("\r\n");
  QTest::newRow("text to empty pane") << QByteArray() << QByteArray("abc") << QByteArray("abc\r\n");
  QTest::newRow("empty line after empty line")
      << QByteArray("\r\n") << QByteArray() << QByteArray("\r\n\r\n");
  QTest::newRow("text after final break")
      << QByteArray("x\r\n") << QByteArray("y") << QByteArray("x\r\ny\r\n");
  QTest::newRow("text after unfinished line")
      << QByteArray("x") << QByteArray("y") << QByteArray("x\r\ny");
  QTest::newRow("empty line after unfinished line")
      << QByteArray("x") << QByteArray() << QByteArray("x\r\n");
  QTest::newRow("several lines as one")
      << QByteArray() << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n");
  QTest::newRow("line ending in a lead byte") << QByteArray() << hex("41f0") << hex("41f00d0a");
}

void BytePaneTest::appendsALine() {
  QFETCH(QByteArray, before);
  QFETCH(QByteArray, line);
  QFETCH(QByteArray, after);
  BytePane pane;
  pane.setText(before);
  select(pane, 0, 0);
  pane.appendLine(line);
  QCOMPARE(pane.text(), after);
  QCOMPARE(pane.textCursor().position(), endOf(pane));
  QVERIFY(!pane.textCursor().hasSelection());
}

void BytePaneTest::appendedLineCannotBeUndone_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("after typed text") << QStringLiteral("typed") << QByteArray("typed\r\nmore");
  // The pane is empty, but its undo still knows the typing.
  QTest::newRow("into a pane emptied by typing") << QStringLiteral("x\b") << QByteArray("more\r\n");
}

void BytePaneTest::appendedLineCannotBeUndone() {
  QFETCH(QString, typed);
  QFETCH(QByteArray, after);
  BytePane pane;
  QTest::keyClicks(&pane, typed);
  QVERIFY(pane.document()->isUndoAvailable());
  pane.appendLine("more");
  pane.undo();
  QCOMPARE(pane.text(), after);
}

void BytePaneTest::replacesTheSelectionWithoutUndo() {
  BytePane pane;
  QTest::keyClicks(&pane, "abcdef");
  select(pane, 2, 4);
  pane.replaceSelectionWithoutUndo(hex("82a00d0a"));
  QCOMPARE(pane.text(), hex("616282a00d0a6566"));
  QCOMPARE(pane.textCursor().position(), 4);
  pane.undo();
  QCOMPARE(pane.text(), hex("616282a00d0a6566"));
}

// Only the active palette shows a selection.
void BytePaneTest::selectionShowsOnlyWhileFocused() {
  const QPalette palette = BytePane().palette();
  QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
           palette.color(QPalette::Inactive, QPalette::Base));
  QCOMPARE(palette.color(QPalette::Inactive, QPalette::HighlightedText),
           palette.color(QPalette::Inactive, QPalette::Text));
  QVERIFY(palette.color(QPalette::Active, QPalette::Highlight) !=
          palette.color(QPalette::Active, QPalette::Base));
}

void BytePaneTest::tabMovesTheFocus() {
  QWidget window;
  auto* upper = new BytePane(&window);
  auto* lower = new BytePane(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  upper->setFocus();
  QTest::keyClick(upper, Qt::Key_Tab);
  QTRY_VERIFY(lower->hasFocus());
  QCOMPARE(upper->text(), QByteArray());
}

void BytePaneTest::copiesTheSelectionAsTextAndRawBytes() {
  BytePane pane;
  pane.setText(hex("41b6de0d0a8795f54181e3"));
  select(pane, 1, endOf(pane));
  pane.copy();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  QVERIFY(data);
  QCOMPARE(data->data(vesk::kCp932MimeType), hex("b6de0d0a8795f54181e3"));
  // F541 is the user-defined area's 942nd code: 5 rows of 188 after F040.
  QCOMPARE(data->text(), QString::fromUtf8("ｶﾞ\n√") + QChar(0xE000 + 5 * 188 + 1) + u'√');
  QCOMPARE(pane.textCursor().selectionStart(), 1);
}

void BytePaneTest::pastesWhatTheClipboardOffers_data() {
  QTest::addColumn<QByteArray>("raw");
  QTest::addColumn<std::optional<QString>>("text");
  QTest::addColumn<QByteArray>("after");
  // The pane holds "abcdef" with "cd" selected; what is read is
  // cp932_clipboard_test's.
  QTest::newRow("raw bytes win over the text")
      << hex("b6de") << std::optional<QString>(QStringLiteral("other")) << hex("6162b6de6566");
  QTest::newRow("text alone") << QByteArray() << std::optional<QString>(QString::fromUtf8("ガ\n"))
                              << hex("6162834b0d0a6566");
  QTest::newRow("empty text") << QByteArray() << std::optional<QString>(QStringLiteral(""))
                              << QByteArray("abef");
  QTest::newRow("no text at all") << QByteArray() << std::optional<QString>()
                                  << QByteArray("abcdef");
}

void BytePaneTest::pastesWhatTheClipboardOffers() {
  QFETCH(QByteArray, raw);
  QFETCH(std::optional<QString>, text);
  QFETCH(QByteArray, after);
  auto data = std::make_unique<QMimeData>();
  data->setData("image/png", "\x89PNG");
  if (!raw.isEmpty()) data->setData(vesk::kCp932MimeType, raw);
  if (text) data->setText(*text);
  QGuiApplication::clipboard()->setMimeData(data.release());
  BytePane pane;
  pane.setText("abcdef");
  select(pane, 2, 4);
  QTest::keySequence(&pane, QKeySequence::Paste);
  QCOMPARE(pane.text(), after);
}

QTEST_MAIN(BytePaneTest)
#include "byte_pane_test.moc"
