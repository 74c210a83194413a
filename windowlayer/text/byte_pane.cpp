#include "windowlayer/text/byte_pane.h"

#include <QMimeData>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <string_view>

#include "cp932/cp932_codec.h"
#include "windowlayer/text/cp932_clipboard.h"
#include "windowlayer/text/cp932_text.h"

namespace vesk {
namespace {

// The document separates lines with U+2029 (U+2028 after Shift+Enter); every
// CR and LF that came in became such a break. The pane's bytes use CR LF.
bool isBreak(char16_t unit) { return (unit | 1) == QChar::ParagraphSeparator; }

// One pass over the document's text, each line encoded straight into place.
QByteArray bytesWithCrLfBreaks(QStringView text) {
  QByteArray bytes(2 * text.size(), Qt::Uninitialized);  // a unit, or a break, is at most 2
  char* out = bytes.data();
  const char16_t* const end = text.utf16() + text.size();
  for (const char16_t* lineBegin = text.utf16();;) {
    const char16_t* const lineEnd = std::find_if(lineBegin, end, isBreak);
    out += cp932::encodeInto(
        std::u16string_view(lineBegin, static_cast<std::size_t>(lineEnd - lineBegin)), out);
    if (lineEnd == end) break;
    *out++ = '\r';
    *out++ = '\n';
    lineBegin = lineEnd + 1;
  }
  bytes.truncate(out - bytes.constData());
  return bytes;
}

// Runs `edit` on `cursor` as one change that the document's undo cannot take
// back; Qt drops the undo history with it.
template <typename Edit>
void editWithoutUndo(QTextCursor& cursor, Edit edit) {
  QTextDocument* const doc = cursor.document();
  const bool undoEnabled = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  cursor.beginEditBlock();
  edit();
  cursor.endEditBlock();
  doc->setUndoRedoEnabled(undoEnabled);
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
  QTextCursor cursor = textCursor();
  const QString text = textFromBytes(bytes);
  editWithoutUndo(cursor, [&] { cursor.insertText(text); });
  setTextCursor(cursor);
}

void BytePane::appendLine(QByteArrayView line) {
  const bool lastLineEmpty = document()->lastBlock().length() <= 1;  // length counts its break
  const int linesBeforeEmptyLast = lineCount() - (lastLineEmpty ? 1 : 0);
  const int start = lineStart(linesBeforeEmptyLast);
  const bool breakAfter = start >= 0;  // the text is empty or ends in a break
  QTextCursor cursor = textCursor();
  if (breakAfter) {
    cursor.setPosition(start);
  } else {
    cursor.movePosition(QTextCursor::End);
  }
  // The break goes in as a piece of its own, so the line is decoded and
  // inserted without a copy of the whole text.
  const QString text = textFromBytes(line);
  const QString lineBreak = QStringLiteral("\n");
  editWithoutUndo(cursor, [&] {
    cursor.insertText(breakAfter ? text : lineBreak);
    cursor.insertText(breakAfter ? lineBreak : text);
  });
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
