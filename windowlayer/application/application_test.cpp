#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <new>
#include <stdexcept>

#include "windowlayer/application/application.h"
#include "windowlayer/application/error_report_text.h"

namespace {

enum class Failure { RuntimeError, OutOfMemory, NotAnException };

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

}  // namespace

Q_DECLARE_METATYPE(Failure)

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::Application::setTitle(QStringLiteral("Vesktext")); }
  void errorReportTextEndsInAFullStop_data();
  void errorReportTextEndsInAFullStop();
  void reportsAnEscapedErrorAndGoesOn_data();
  void reportsAnEscapedErrorAndGoesOn();
};

void ApplicationTest::errorReportTextEndsInAFullStop_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  // A full stop follows every last character that sorts after it.
  QTest::newRow("empty") << QString() << QString();
  QTest::newRow("letter") << "Error x"
                          << "Error x.";
  QTest::newRow("slash, just after the full stop") << "a/"
                                                   << "a/.";
  QTest::newRow("full stop itself") << "Done."
                                    << "Done.";
  QTest::newRow("hyphen, just before it") << "a-"
                                          << "a-";
  QTest::newRow("ideographic full stop")
      << QString::fromUtf8("完了。") << QString::fromUtf8("完了。.");
  QTest::newRow("character outside the BMP") << QString::fromUtf8("x😀") << QString::fromUtf8("x😀.");
}

void ApplicationTest::errorReportTextEndsInAFullStop() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(vesk::errorReportText(message), shown);
}

void ApplicationTest::reportsAnEscapedErrorAndGoesOn_data() {
  QTest::addColumn<Failure>("failure");
  QTest::addColumn<QString>("text");
  QTest::newRow("runtime error") << Failure::RuntimeError << "Conversion failed.";
  QTest::newRow("out of memory") << Failure::OutOfMemory << "Out of memory.";
  QTest::newRow("not an exception") << Failure::NotAnException << "Unknown error.";
}

// The report is a modal box over the window; once the user closes it, the
// program takes the next event.
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

  QStringList shown;  // title, text and icon of each box, which the timer closes
  QTimer closer;
  connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown << box->windowTitle() << box->text() << QString::number(box->icon());
      box->button(QMessageBox::Ok)->click();
    }
  });
  closer.start(10);
  QTest::mouseClick(failing, Qt::LeftButton);
  QTest::mouseClick(working, Qt::LeftButton);
  QCOMPARE(worked, 1);
  QCOMPARE(shown, QStringList({"Vesktext", text, QString::number(QMessageBox::Critical)}));
}

int main(int argc, char** argv) {
  vesk::Application application(argc, argv);
  ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
