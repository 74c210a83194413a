#include <QTest>

#include "windowlayer/controls/glyph_placement.h"

using vesk::GlyphPosition;
using vesk::placeGlyphAndCaption;

Q_DECLARE_METATYPE(GlyphPosition)

class GlyphPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void placesGroupCentred_data();
  void placesGroupCentred();
  void keepsSizes_data() { placesGroupCentred_data(); }
  void keepsSizes();
  void loneItemIsCentredWithoutSpacing_data();
  void loneItemIsCentredWithoutSpacing();
};

void GlyphPlacementTest::placesGroupCentred_data() {
  QTest::addColumn<QRect>("area");
  QTest::addColumn<QSize>("glyph");
  QTest::addColumn<QSize>("caption");
  QTest::addColumn<GlyphPosition>("position");
  QTest::addColumn<QRect>("expectedGlyph");
  QTest::addColumn<QRect>("expectedCaption");

  // 97x25 command button, 16x16 glyph, caption 24x12: group 44 wide, 26 px each side.
  QTest::newRow("command button") << QRect(0, 0, 97, 25) << QSize(16, 16) << QSize(24, 12)
                                  << GlyphPosition::LeftOfCaption << QRect(26, 4, 16, 16)
                                  << QRect(46, 6, 24, 12);
  // 57x57 about button, 18x18 glyph above a 30x12 caption: group 34 high, 11.5 px above.
  QTest::newRow("about button") << QRect(0, 0, 57, 57) << QSize(18, 18) << QSize(30, 12)
                                << GlyphPosition::AboveCaption << QRect(19, 11, 18, 18)
                                << QRect(13, 33, 30, 12);
  QTest::newRow("area off the origin")
      << QRect(10, 20, 97, 25) << QSize(16, 16) << QSize(24, 12) << GlyphPosition::LeftOfCaption
      << QRect(36, 24, 16, 16) << QRect(56, 26, 24, 12);
  // A group wider than the button overflows evenly on both sides.
  QTest::newRow("group wider than area")
      << QRect(0, 0, 40, 25) << QSize(16, 16) << QSize(40, 12) << GlyphPosition::LeftOfCaption
      << QRect(-10, 4, 16, 16) << QRect(10, 6, 40, 12);
  QTest::newRow("caption taller than glyph")
      << QRect(0, 0, 97, 25) << QSize(16, 8) << QSize(24, 20) << GlyphPosition::LeftOfCaption
      << QRect(26, 8, 16, 8) << QRect(46, 2, 24, 20);
}

void GlyphPlacementTest::placesGroupCentred() {
  QFETCH(QRect, area);
  QFETCH(QSize, glyph);
  QFETCH(QSize, caption);
  QFETCH(GlyphPosition, position);
  QFETCH(QRect, expectedGlyph);
  QFETCH(QRect, expectedCaption);

  const auto placed = placeGlyphAndCaption(area, glyph, caption, position, 4);
  QCOMPARE(placed.glyph, expectedGlyph);
  QCOMPARE(placed.caption, expectedCaption);
}

void GlyphPlacementTest::keepsSizes() {
  QFETCH(QRect, area);
  QFETCH(QSize, glyph);
  QFETCH(QSize, caption);
  QFETCH(GlyphPosition, position);

  const auto placed = placeGlyphAndCaption(area, glyph, caption, position, 4);
  QCOMPARE(placed.glyph.size(), glyph);
  QCOMPARE(placed.caption.size(), caption);
  QVERIFY(!placed.glyph.intersects(placed.caption));
  if (position == GlyphPosition::LeftOfCaption)
    QCOMPARE(placed.caption.left() - placed.glyph.right() - 1, 4);
  else
    QCOMPARE(placed.caption.top() - placed.glyph.bottom() - 1, 4);
}

void GlyphPlacementTest::loneItemIsCentredWithoutSpacing_data() {
  QTest::addColumn<QSize>("glyph");
  QTest::addColumn<QSize>("caption");
  QTest::addColumn<GlyphPosition>("position");
  QTest::addColumn<QRect>("expectedLoneItem");

  QTest::newRow("glyph only, left")
      << QSize(16, 16) << QSize(0, 12) << GlyphPosition::LeftOfCaption << QRect(40, 4, 16, 16);
  QTest::newRow("glyph only, above")
      << QSize(16, 16) << QSize(0, 12) << GlyphPosition::AboveCaption << QRect(40, 4, 16, 16);
  QTest::newRow("caption only, left")
      << QSize() << QSize(24, 12) << GlyphPosition::LeftOfCaption << QRect(36, 6, 24, 12);
  QTest::newRow("caption only, above")
      << QSize() << QSize(24, 12) << GlyphPosition::AboveCaption << QRect(36, 6, 24, 12);
}

void GlyphPlacementTest::loneItemIsCentredWithoutSpacing() {
  QFETCH(QSize, glyph);
  QFETCH(QSize, caption);
  QFETCH(GlyphPosition, position);
  QFETCH(QRect, expectedLoneItem);

  const auto placed = placeGlyphAndCaption(QRect(0, 0, 97, 25), glyph, caption, position, 4);
  QCOMPARE(glyph.isEmpty() ? placed.caption : placed.glyph, expectedLoneItem);
}

QTEST_APPLESS_MAIN(GlyphPlacementTest)
#include "glyph_placement_test.moc"
