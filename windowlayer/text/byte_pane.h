#pragma once

// A multi-line text pane that holds code page 932 bytes. Qt keeps the text as
// Unicode; every read and write goes through the pane text of cp932_text.h,
// so whatever bytes are written into the pane read back exactly: CR LF is a
// line break (a new paragraph), a lone LF shows as a line break too, a lone
// CR and a byte that forms no character each as a character of their own.
//
// What the pane shows is what it holds: text typed, composed by an input
// method or inserted by other means becomes, as it enters, the characters it
// will be written as, so a character that code page 932 cannot hold shows as
// '?' at once, and a stand-in such as U+301C shows as its replacement.
//
// The inherited clear(), selectAll(), copy() and paste() keep their Qt
// meaning; copy and paste (buttons, Ctrl+C/Ctrl+V, drag and drop) carry the
// bytes through the clipboard as cp932_clipboard.h describes.
//
// Qt sets no length limit on a QPlainTextEdit, so the pane has none.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace vesk {

class BytePane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit BytePane(QWidget* parent = nullptr);

  // The whole text exactly as held: lines joined by CR LF, no break added
  // after the last line. An empty pane gives an empty array.
  QByteArray text() const;

  // Replaces the whole content; the caret goes to the end and the undo
  // history is dropped.
  void setText(QByteArrayView bytes);

  // Lines as the pane counts them: one more than the line breaks in the text,
  // so an empty pane has one (empty) line. Wrapping adds no lines.
  int lineCount() const;

  // Caret position where line `line` (counted from 0) starts, or -1 when the
  // pane has no such line.
  int lineStart(int line) const;

  // Replaces the selection (or inserts at the caret) with `bytes`, leaving
  // the caret after them. The pane's undo cannot take it back; Qt keeps no
  // undo history across such a change, so earlier steps are forgotten too.
  void replaceSelectionWithoutUndo(QByteArrayView bytes);

  // Adds `line` as a line of its own at the end: after an empty last line it
  // goes in front of a new CR LF, after a non-empty last line it follows one.
  // Appending to an empty pane thus gives `line` followed by CR LF.
  void appendLine(QByteArrayView line);

 protected:
  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // Inserts pane text at the cursor, as one step the undo can take back
  // unless withoutUndo.
  void insertPaneText(QTextCursor& cursor, const QString& text, bool withoutUndo);
  // Notes text that came in other than through the pane's own insertions.
  void noteChange(int position, int charsRemoved, int charsAdded);
  // Rewrites the noted text as it will be written.
  void settleTypedText();

  QList<QTextCursor> unsettled_;  // ranges that follow later edits
  bool ownEdit_ = false;
};

}  // namespace vesk
