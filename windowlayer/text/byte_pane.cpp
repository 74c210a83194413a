#include "windowlayer/text/byte_pane.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>

#include <algorithm>
#include <utility>

#include "windowlayer/text/cp932_clipboard.h"
#include "windowlayer/text/cp932_text.h"

namespace vesk {
namespace {

// Keeps the selection visible only while the pane has the focus.
QPalette withHiddenInactiveSelection(QPalette palette) {
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Inactive, QPalette::Base));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Inactive, QPalette::Text));
  return palette;
}

bool isEnter(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
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
  connect(document(), &QTextDocument::contentsChange, this, &BytePane::noteChange);
}

QByteArray BytePane::text() const { return bytesFromPaneText(document()->toRawText()); }

void BytePane::setText(QByteArrayView bytes) {
  const QString text = paneTextFromBytes(bytes);
  ownEdit_ = true;
  setPlainText(text);
  ownEdit_ = false;
  moveCursor(QTextCursor::End);
}

int BytePane::lineCount() const { return blockCount(); }

int BytePane::lineStart(int line) const {
  const QTextBlock block = document()->findBlockByNumber(line);
  return block.isValid() ? block.position() : -1;
}

void BytePane::insertPaneText(QTextCursor& cursor, const QString& text, bool withoutUndo) {
  QTextDocument* const doc = cursor.document();
  const bool undoEnabled = doc->isUndoRedoEnabled();
  // Qt drops the undo history along with it.
  if (withoutUndo) doc->setUndoRedoEnabled(false);
  ownEdit_ = true;
  cursor.insertText(text);
  ownEdit_ = false;
  doc->setUndoRedoEnabled(undoEnabled);
  setTextCursor(cursor);
}

void BytePane::replaceSelectionWithoutUndo(QByteArrayView bytes) {
  QTextCursor cursor = textCursor();
  insertPaneText(cursor, paneTextFromBytes(bytes), true);
}

void BytePane::appendLine(QByteArrayView line) {
  const bool lastLineEmpty = document()->lastBlock().length() <= 1;  // length counts its break
  const int linesBeforeEmptyLast = lineCount() - (lastLineEmpty ? 1 : 0);
  const int start = lineStart(linesBeforeEmptyLast);
  QTextCursor cursor = textCursor();
  // Empty text, or text that ends in a break: the line goes in front of a new
  // break. Otherwise a break goes in front of the line.
  if (start >= 0) {
    cursor.setPosition(start);
    insertPaneText(cursor, paneTextFromBytes(line) + u'\n', true);
  } else {
    cursor.movePosition(QTextCursor::End);
    insertPaneText(cursor, u'\n' + paneTextFromBytes(line), true);
  }
}

QMimeData* BytePane::createMimeDataFromSelection() const {
  return mimeDataForBytes(bytesFromPaneText(textCursor().selectedText())).release();
}

bool BytePane::canInsertFromMimeData(const QMimeData* source) const {
  return source->hasFormat(QString::fromLatin1(kCp932MimeType)) || source->hasText();
}

void BytePane::insertFromMimeData(const QMimeData* source) {
  const std::optional<QByteArray> bytes = bytesFromMimeData(*source);
  if (!bytes) return;
  QTextCursor cursor = textCursor();
  insertPaneText(cursor, paneTextFromBytes(*bytes), false);
  ensureCursorVisible();
}

void BytePane::keyPressEvent(QKeyEvent* event) {
  const bool shiftEnter = isEnter(*event) && event->modifiers().testFlag(Qt::ShiftModifier);
  const QString typed = event->text();
  const bool printable = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c >= u' '; });
  const QString held = printable ? paneFormOfTyping(typed) : typed;
  // Typed text, undo and paste bring only what the pane can hold.
  ownEdit_ = true;
  if (shiftEnter || held != typed) {
    // Shift+Enter would put in a line separator, which the pane keeps for a
    // lone LF; it breaks the line as Enter does.
    QKeyEvent settled(event->type(), event->key(),
                      shiftEnter ? event->modifiers() & ~Qt::ShiftModifier : event->modifiers(),
                      held, event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&settled);
    event->setAccepted(settled.isAccepted());
  } else {
    QPlainTextEdit::keyPressEvent(event);
  }
  ownEdit_ = false;
}

void BytePane::inputMethodEvent(QInputMethodEvent* event) {
  const QString held = paneFormOfTyping(event->commitString());
  ownEdit_ = true;
  if (held != event->commitString()) {
    QInputMethodEvent settled(event->preeditString(), event->attributes());
    settled.setCommitString(held, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&settled);
  } else {
    QPlainTextEdit::inputMethodEvent(event);
  }
  ownEdit_ = false;
}

void BytePane::noteChange(int position, int /*charsRemoved*/, int charsAdded) {
  if (ownEdit_ || charsAdded == 0) return;
  // Text that comes in by a way the pane does not override (an accessibility
  // tool, the context menu) settles once the change is over. The range may
  // reach past the end when only the layout changed (an input method's
  // preedit text), which changes nothing to settle.
  const int end = document()->characterCount() - 1;
  QTextCursor range(document());
  range.setPosition(std::min(position, end));
  range.setPosition(std::min(position + charsAdded, end), QTextCursor::KeepAnchor);
  if (unsettled_.isEmpty()) QTimer::singleShot(0, this, &BytePane::settleTypedText);
  unsettled_.append(range);
}

void BytePane::settleTypedText() {
  const QList<QTextCursor> ranges = std::exchange(unsettled_, {});
  for (QTextCursor range : ranges) {
    const QString typed = range.selectedText();
    const QString held = paneFormOfTyping(typed);
    if (held == typed) continue;
    ownEdit_ = true;
    range.insertText(held);
    ownEdit_ = false;
  }
}

}  // namespace vesk
