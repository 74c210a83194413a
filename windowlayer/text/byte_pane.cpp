#include "windowlayer/text/byte_pane.h"

#include <QMimeData>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include "windowlayer/text/cp932_clipboard.h"
#include "windowlayer/text/cp932_text.h"

namespace vesk {
namespace {

constexpr QByteArrayView kCrLf = "\r\n";

// The document separates lines with U+2029 (U+2028 after Shift+Enter); every
// CR and LF that came in became such a break. The pane's bytes use CR LF.
QByteArray bytesWithCrLfBreaks(QString text) {
  text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
  const QByteArray lines = bytesFromText(text);
  QByteArray bytes;
  bytes.reserve(lines.size() + lines.count('\n'));
  qsizetype lineBegin = 0;
  for (qsizetype lineEnd; (lineEnd = lines.indexOf('\n', lineBegin)) >= 0; lineBegin = lineEnd + 1)
    bytes.append(lines.constData() + lineBegin, lineEnd - lineBegin).append("\r\n");
  return bytes.append(lines.constData() + lineBegin, lines.size() - lineBegin);
}

// Keeps the selection visible only while the pane has the focus.
QPalette withHiddenInactiveSelection(QPalette palette) {
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Inactive, QPalette::Base));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Inactive, QPalette::Text));
  return palette;
}

}  // namespace

BytePane::BytePane(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Japanese text has few word boundaries; a line without one still wraps.
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
  setReadOnly(false);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setPalette(withHiddenInactiveSelection(palette()));
}

QByteArray BytePane::text() const { return bytesWithCrLfBreaks(document()->toRawText()); }

void BytePane::setText(QByteArrayView bytes) {
  setPlainText(textFromBytes(bytes));
  moveCursor(QTextCursor::End);
}

int BytePane::lineCount() const { return blockCount(); }

int BytePane::lineStart(int line) const {
  const QTextBlock block = document()->findBlockByNumber(line);
  return block.isValid() ? block.position() : -1;
}

void BytePane::replaceSelectionWithoutUndo(QByteArrayView bytes) {
  insertWithoutUndo(textFromBytes(bytes));
}

void BytePane::appendLine(QByteArrayView line) {
  const bool lastLineEmpty = document()->lastBlock().length() <= 1;  // length counts its break
  const int linesBeforeEmptyLast = lineCount() - (lastLineEmpty ? 1 : 0);
  QTextCursor cursor = textCursor();
  const int start = lineStart(linesBeforeEmptyLast);
  // The break joins the line as bytes, so the text is decoded and copied once.
  QByteArray bytes;
  bytes.reserve(line.size() + kCrLf.size());
  if (start >= 0) {
    cursor.setPosition(start);
    bytes.append(line).append(kCrLf);
  } else {
    cursor.movePosition(QTextCursor::End);
    bytes.append(kCrLf).append(line);
  }
  setTextCursor(cursor);
  insertWithoutUndo(textFromBytes(bytes));
}

void BytePane::insertWithoutUndo(const QString& text) {
  if (document()->isEmpty()) {
    // The common case (every Convert appends to a cleared pane); Qt's bulk
    // load is much faster than an insertion through the cursor.
    setPlainText(text);
    moveCursor(QTextCursor::End);
    return;
  }
  QTextCursor cursor = textCursor();
  QTextDocument* const doc = document();
  const bool undoEnabled = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  cursor.insertText(text);
  doc->setUndoRedoEnabled(undoEnabled);
  setTextCursor(cursor);
}

QMimeData* BytePane::createMimeDataFromSelection() const {
  return mimeDataForBytes(bytesWithCrLfBreaks(textCursor().selectedText())).release();
}

bool BytePane::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasFormat(QString::fromLatin1(kCp932MimeType)) || source->hasText();
}

void BytePane::insertFromMimeData(const QMimeData* source) {
  const std::optional<QByteArray> bytes = bytesFromMimeData(*source);
  if (!bytes) return;
  QTextCursor cursor = textCursor();
  cursor.insertText(textFromBytes(*bytes));
  setTextCursor(cursor);
  ensureCursorVisible();
}

}  // namespace vesk
