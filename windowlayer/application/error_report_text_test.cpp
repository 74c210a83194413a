#include <QTest>

#include "windowlayer/application/error_report_text.h"

class ErrorReportTextTest : public QObject {
  Q_OBJECT

 private slots:
  void addsAFullStopAfterCharactersThatSortAfterIt_data();
  void addsAFullStopAfterCharactersThatSortAfterIt();
};

void ErrorReportTextTest::addsAFullStopAfterCharactersThatSortAfterIt_data() {
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("shown");
  QTest::newRow("empty") << QString() << QString();
  QTest::newRow("letter") << "Out of memory"
                          << "Out of memory.";
  QTest::newRow("digit") << "Error 42"
                         << "Error 42.";
  QTest::newRow("slash, just after the full stop") << "a/"
                                                   << "a/.";
  QTest::newRow("question mark sorts after it") << "Why?"
                                                << "Why?.";
  QTest::newRow("full stop itself") << "Done."
                                    << "Done.";
  QTest::newRow("hyphen, just before it") << "a-"
                                          << "a-";
  QTest::newRow("exclamation mark") << "Stop!"
                                    << "Stop!";
  QTest::newRow("closing parenthesis") << "(x)"
                                       << "(x)";
  QTest::newRow("trailing space") << "a "
                                  << "a ";
  QTest::newRow("trailing line break") << "a\n"
                                       << "a\n";
  QTest::newRow("ideographic full stop")
      << QString::fromUtf8("完了。") << QString::fromUtf8("完了。.");
  QTest::newRow("character outside the BMP") << QString::fromUtf8("x😀") << QString::fromUtf8("x😀.");
}

void ErrorReportTextTest::addsAFullStopAfterCharactersThatSortAfterIt() {
  QFETCH(QString, message);
  QFETCH(QString, shown);
  QCOMPARE(vesk::errorReportText(message), shown);
}

QTEST_APPLESS_MAIN(ErrorReportTextTest)
#include "error_report_text_test.moc"
