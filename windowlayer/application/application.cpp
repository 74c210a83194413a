#include "windowlayer/application/application.h"

#include <QMessageBox>
#include <QScopedValueRollback>
#include <cstdio>
#include <exception>
#include <new>

#include "windowlayer/application/error_report_text.h"

namespace vesk {

namespace {

// Kept here rather than as Qt's application display name: Qt appends that
// name to every other window's title ("Copyright — Vesktext").
QString& applicationTitle() {
  static QString title;
  return title;
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

void Application::setTitle(const QString& title) { applicationTitle() = title; }

QString Application::title() { return applicationTitle(); }

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    showErrorReport(QStringLiteral("Out of memory"));
  } catch (const std::exception& error) {
    showErrorReport(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    showErrorReport(QStringLiteral("Unknown error"));
  }
  return false;
}

void Application::showErrorReport(const QString& message) {
  const QString text = errorReportText(message);
  if (reporting_) {
    // The box is already up; stacking boxes would not help the user.
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return;
  }
  const QScopedValueRollback<bool> reporting(reporting_, true);
  try {
    QMessageBox box(QMessageBox::Critical, title(), text, QMessageBox::Ok, activeWindow());
    box.exec();
  } catch (...) {
    // Out of memory even for the box: the message at least reaches the log.
    std::fprintf(stderr, "%s\n", qPrintable(text));
  }
}

}  // namespace vesk
