#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "mainwindow/commands/pane_commands.h"
#include "windowlayer/application/application.h"

namespace {

enum class Failure { RuntimeError, OutOfMemory, LogicErrorWithFullStop, NotAnException };
}  // namespace

Q_DECLARE_METATYPE(Failure)

namespace {

std::string failingConversion(Failure failure) {
  switch (failure) {
    case Failure::RuntimeError:
      throw std::runtime_error("Conversion failed");
    case Failure::OutOfMemory:
      throw std::bad_alloc();
    case Failure::LogicErrorWithFullStop:
      throw std::logic_error("Bad input.");
    case Failure::NotAnException:
      throw 42;
  }
  return {};
}

struct ShownReport {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int count = 0;
};

// Waits in the background for the modal box the click opens, notes what it
// shows and closes it, as a user would.
class ReportCloser : public QObject {
 public:
  explicit ReportCloser(ShownReport& shown) : shown_(shown) {
    connect(&timer_, &QTimer::timeout, this, &ReportCloser::closeBoxIfShown);
    timer_.start(10);
  }

 private:
  void closeBoxIfShown() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown_.title = box->windowTitle();
    shown_.text = box->text();
    shown_.icon = box->icon();
    ++shown_.count;
    box->button(QMessageBox::Ok)->click();
  }

  ShownReport& shown_;
  QTimer timer_;
};

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void reportsAFailedConvertAndGoesOn_data();
  void reportsAFailedConvertAndGoesOn();
};

void ApplicationTest::initTestCase() { vesk::Application::setTitle(QStringLiteral("Vesktext")); }

void ApplicationTest::reportsAFailedConvertAndGoesOn_data() {
  QTest::addColumn<Failure>("failure");
  QTest::addColumn<QString>("text");
  QTest::newRow("runtime error") << Failure::RuntimeError << "Conversion failed.";
  QTest::newRow("out of memory") << Failure::OutOfMemory << "Out of memory.";
  QTest::newRow("message ending in a full stop") << Failure::LogicErrorWithFullStop << "Bad input.";
  QTest::newRow("not an exception") << Failure::NotAnException << "Unknown error.";
}

void ApplicationTest::reportsAFailedConvertAndGoesOn() {
  QFETCH(Failure, failure);
  QFETCH(QString, text);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* source = new vesk::BytePane;
  auto* target = new vesk::BytePane;
  auto* failingConvert = new QPushButton(QStringLiteral("Convert"));
  auto* workingConvert = new QPushButton(QStringLiteral("Convert"));
  for (QWidget* widget :
       {static_cast<QWidget*>(source), static_cast<QWidget*>(target),
        static_cast<QWidget*>(failingConvert), static_cast<QWidget*>(workingConvert)})
    layout->addWidget(widget);
  connect(failingConvert, &QPushButton::clicked, [&] {
    vesk::convertInto(*source, *target,
                      [failure](std::string_view) { return failingConversion(failure); });
  });
  connect(workingConvert, &QPushButton::clicked, [&] {
    vesk::convertInto(*source, *target, [](std::string_view s) { return std::string(s); });
  });
  source->setText("local");
  target->setText("old result");
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  ShownReport shown;
  {
    const ReportCloser closer(shown);
    QTest::mouseClick(failingConvert, Qt::LeftButton);
    QTRY_COMPARE(shown.count, 1);
  }
  QCOMPARE(shown.title, QStringLiteral("Vesktext"));
  QCOMPARE(shown.text, text);
  QCOMPARE(shown.icon, QMessageBox::Critical);
  QCOMPARE(target->text(), QByteArray());
  QCOMPARE(source->text(), QByteArray("local"));

  QTest::mouseClick(workingConvert, Qt::LeftButton);
  QCOMPARE(target->text(), QByteArray("local\r\n"));
  QCOMPARE(shown.count, 1);
}

int main(int argc, char** argv) {
  vesk::Application application(argc, argv);
  ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
