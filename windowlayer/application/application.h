#pragma once

// The application object. An error that escapes an event handler (a
// std::exception, std::bad_alloc included, or anything else thrown) is caught
// here and shown as the standard error report: a message box with an error
// icon, captioned with the application title, showing errorReportText() of
// the error's message. Then the program goes on with the next event.

#include <QApplication>
#include <QString>

namespace vesk {

class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  // The title shown as the caption of the error report. Task bars show the
  // main window's caption, which is the same text.
  static void setTitle(const QString& title);
  static QString title();

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the standard error report for `message` and returns when the user
  // has closed it.
  void showErrorReport(const QString& message);

 private:
  bool reporting_ = false;  // a failure while the box is up is not reported again
};

}  // namespace vesk
