#pragma once

// The main window, Form1: two byte panes and the buttons that move text
// between them and the clipboard.
//
// Layers, top down:
//   TForm1 (this file)        the fixed layout of resources/mainwindow.ui and
//                             one click handler per button
//   mainwindow/commands/      the six commands, as functions on two panes
//   windowlayer/text/         BytePane: a QPlainTextEdit that holds code page
//                             932 bytes, and the clipboard in code page 932
//   conversion/               ConvertHtoZ and ConvertZtoH, bytes to bytes
//
// Data flow of one conversion: the clipboard's bytes are pasted into
// Beforememo; ConvertHtoZB empties Aftermemo, reads Beforememo's whole text,
// converts it and appends the result as one line; AfterCopyB copies
// Aftermemo's whole text back to the clipboard. ConvertZtoHB runs the other
// way, from Aftermemo into Beforememo.

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace Ui {
class TForm1;
}

namespace vesk {

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The about dialog that BitBtn1 shows modally. It is built once at start-up,
  // after this window, and lives as long as the program; until one is set,
  // BitBtn1 does nothing.
  void setAboutDialog(QDialog* dialog) { aboutDialog_ = dialog; }

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void AfterCopyBClick();
  void BeforeCopyBClick();
  void BeforePasteBClick();
  void AfterpasteBClick();
  void ConvertHtoZBClick();
  void ConvertZtoHBClick();
  void BitBtn1Click();

 private:
  void centreOnScreen();

  std::unique_ptr<Ui::TForm1> ui;
  QPointer<QDialog> aboutDialog_;
  bool shownBefore_ = false;
};

}  // namespace vesk
