#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include "windowlayer/controls/window_font.h"

class WindowFontTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesk::installFontSubstitutes(); }
  void familyResolvesToInstalledStandIn_data();
  void familyResolvesToInstalledStandIn();
  void windowFontIsTwelvePixels();
};

void WindowFontTest::familyResolvesToInstalledStandIn_data() {
  QTest::addColumn<QString>("family");
  QTest::addColumn<QStringList>("standIns");

  QTest::newRow("MS PGothic") << vesk::windowFontFamily() << vesk::windowFontSubstitutes();
  QTest::newRow("Arial") << vesk::arialFamily() << vesk::arialSubstitutes();
}

void WindowFontTest::familyResolvesToInstalledStandIn() {
  QFETCH(QString, family);
  QFETCH(QStringList, standIns);

  // Qt keeps substitute names in lower case.
  QStringList lowered;
  for (const QString& standIn : standIns) lowered << standIn.toLower();
  QCOMPARE(QFont::substitutes(family), lowered);
  const QString resolved = QFontInfo(QFont(family)).family();
  QVERIFY2(standIns.contains(resolved), qPrintable(family + " resolved to " + resolved));
  // The first stand-in that is installed wins, not just any of them.
  const QStringList installed = QFontDatabase::families();
  for (const QString& standIn : standIns) {
    if (installed.contains(standIn)) {
      QCOMPARE(resolved, standIn);
      break;
    }
  }
}

void WindowFontTest::windowFontIsTwelvePixels() {
  const QFontInfo info(vesk::windowFont());
  QCOMPARE(info.pixelSize(), 12);
  QVERIFY(vesk::windowFontSubstitutes().contains(info.family()));
  // The Japanese stand-in must actually draw kana and kanji.
  const QFontMetrics metrics(vesk::windowFont());
  QVERIFY(metrics.inFontUcs4(U'標'));
  QVERIFY(metrics.inFontUcs4(U'ロ'));
}

QTEST_MAIN(WindowFontTest)
#include "window_font_test.moc"
