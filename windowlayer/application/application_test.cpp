#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <new>
#include <stdexcept>

#include "windowlayer/application/application.h"

namespace {

enum class Failure { RuntimeError, OutOfMemory, NotAnException };
}  // namespace

Q_DECLARE_METATYPE(Failure)

namespace {

void fail(Failure failure) {
  switch (failure) {
    case Failure::RuntimeError:
      throw std::runtime_error("Conversion failed");
    case Failure::OutOfMemory:
      throw std::bad_alloc();
    case Failure::NotAnException:
      throw 42;
  }
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
  void reportsAnEscapedErrorAndGoesOn_data();
  void reportsAnEscapedErrorAndGoesOn();
};

void ApplicationTest::initTestCase() { vesk::Application::setTitle(QStringLiteral("Vesktext")); }

void ApplicationTest::reportsAnEscapedErrorAndGoesOn_data() {
  QTest::addColumn<Failure>("failure");
  QTest::addColumn<QString>("text");
  // The full stop follows error_report_text_test's rule.
  QTest::newRow("runtime error") << Failure::RuntimeError << "Conversion failed.";
  QTest::newRow("out of memory") << Failure::OutOfMemory << "Out of memory.";
  QTest::newRow("not an exception") << Failure::NotAnException << "Unknown error.";
}

void ApplicationTest::reportsAnEscapedErrorAndGoesOn() {
  QFETCH(Failure, failure);
  QFETCH(QString, text);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* failing = new QPushButton(QStringLiteral("Convert"));
  auto* working = new QPushButton(QStringLiteral("Copy"));
  layout->addWidget(failing);
  layout->addWidget(working);
  connect(failing, &QPushButton::clicked, [failure] { fail(failure); });
  int worked = 0;
  connect(working, &QPushButton::clicked, [&] { ++worked; });
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  ShownReport shown;
  {
    const ReportCloser closer(shown);
    QTest::mouseClick(failing, Qt::LeftButton);
    QTRY_COMPARE(shown.count, 1);
  }
  QCOMPARE(shown.title, QStringLiteral("Vesktext"));
  QCOMPARE(shown.text, text);
  QCOMPARE(shown.icon, QMessageBox::Critical);

  QTest::mouseClick(working, Qt::LeftButton);
  QCOMPARE(worked, 1);
  QCOMPARE(shown.count, 1);
}

int main(int argc, char** argv) {
  vesk::Application application(argc, argv);
  ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
