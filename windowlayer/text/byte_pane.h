#pragma once

// A multi-line text pane that holds code page 932 bytes. Qt keeps the text as
// Unicode; every read and write goes through the code page 932 codec, so what
// is written into the pane reads back byte for byte.
//
// Line breaks: CR LF in the bytes is a line break (a new paragraph) in the
// pane, and text() joins lines with CR LF. A lone CR or a lone LF byte also
// becomes a line break, so a pane's text holds CR and LF only as CR LF pairs:
// the line structure of such input is kept, its break bytes are not.
//
// The inherited clear(), selectAll(), copy() and paste() keep their Qt
// meaning; copy and paste (buttons, Ctrl+C/Ctrl+V, drag and drop) carry the
// bytes through the clipboard as cp932_clipboard.h describes.
//
// Qt sets no length limit on a QPlainTextEdit, so the pane has none.

#include <QByteArray>
#include <QByteArrayView>
#include <QPlainTextEdit>

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
};

}  // namespace vesk
