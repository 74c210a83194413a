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

constexpr QStringView kCrLf = u"\r\n";

bool isLineBreak(QChar c) { return c == QChar::ParagraphSeparator || c == QChar::LineSeparator; }

// The document separates lines with U+2029 (and U+2028 for Shift+Enter); the
// pane's bytes separate them with CR LF.
QString withCrLfBreaks(QStringView text) {
  QString result;
  result.reserve(text.size() + text.count(QChar::ParagraphSeparator) +
                 text.count(QChar::LineSeparator));
  qsizetype lineBegin = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (isLineBreak(text[i])) {
      result.append(text.sliced(lineBegin, i - lineBegin)).append(kCrLf);
      lineBegin = i + 1;
    }
  }
  return result.append(text.sliced(lineBegin));
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

QByteArray BytePane::text() const { return bytesFromText(withCrLfBreaks(document()->toRawText())); }

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
  if (start >= 0) {
    cursor.setPosition(start);
    setTextCursor(cursor);
    insertWithoutUndo(textFromBytes(line).append(kCrLf));
  } else {
    cursor.movePosition(QTextCursor::End);
    setTextCursor(cursor);
    insertWithoutUndo(kCrLf.toString().append(textFromBytes(line)));
  }
}

void BytePane::insertWithoutUndo(const QString& text) {
  QTextCursor cursor = textCursor();
  QTextDocument* const doc = document();
  const bool undoEnabled = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  cursor.insertText(text);
  doc->setUndoRedoEnabled(undoEnabled);
  setTextCursor(cursor);
}

QMimeData* BytePane::createMimeDataFromSelection() const {
  return mimeDataForBytes(bytesFromText(withCrLfBreaks(textCursor().selectedText()))).release();
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
