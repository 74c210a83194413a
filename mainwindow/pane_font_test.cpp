// What the panes draw where the window font has no glyph: the program's own
// font shows a local code as its standard character with a mark, a second
// code as its character, and each stray byte as a box of its own, all on
// lines no taller than plain text.

#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>

#include "mainwindow/tform1.h"
#include "windowlayer/controls/window_font.h"
#include "windowlayer/text/byte_pane.h"

using vesk::BytePane;

class PaneFontTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void drawing_data();
  void drawing();

 private:
  struct Drawn {
    QImage firstLine;
    qreal lineHeight;
  };
  Drawn draw(const char* pane, const QByteArray& bytes);

  std::unique_ptr<vesk::TForm1> form_;
};

void PaneFontTest::initTestCase() {
  vesk::installFontSubstitutes();
  form_ = std::make_unique<vesk::TForm1>();
}

PaneFontTest::Drawn PaneFontTest::draw(const char* name, const QByteArray& bytes) {
  auto* pane = form_->findChild<BytePane*>(QString::fromLatin1(name));
  pane->setText(bytes);
  const QImage drawn = pane->viewport()->grab().toImage();
  const QTextLine line = pane->document()->firstBlock().layout()->lineAt(0);
  const int bottom = qCeil((pane->document()->documentMargin() + line.y() + line.height()) *
                           drawn.devicePixelRatio());
  return {drawn.copy(0, 0, drawn.width(), bottom), line.height()};
}

void PaneFontTest::drawing_data() {
  QTest::addColumn<QByteArray>("first");
  QTest::addColumn<QByteArray>("second");
  QTest::addColumn<bool>("alike");

  QTest::newRow("local root sign / unassigned user code")
      << QByteArray("\xF0\x56") << QByteArray("\xF9\xFC") << false;
  QTest::newRow("local root sign / standard root sign")
      << QByteArray("\xF0\x56") << QByteArray("\x87\x95") << false;
  QTest::newRow("local a / standard a")
      << QByteArray("\xF5\x42") << QByteArray("\x82\xA0") << false;
  QTest::newRow("second code of the root sign / first code")
      << QByteArray("\x81\xE3") << QByteArray("\x87\x95") << true;
  QTest::newRow("second code of a kanji / first code")
      << QByteArray("\xED\x40") << QByteArray("\xFA\x5C") << true;
  QTest::newRow("stray byte 80 / stray byte FF")
      << QByteArray("\x80") << QByteArray("\xFF") << false;
  QTest::newRow("stray byte 80 / unassigned user code")
      << QByteArray("\x80") << QByteArray("\xF9\xFC") << false;
  QTest::newRow("lone CR / nothing") << QByteArray("\r") << QByteArray() << false;
}

void PaneFontTest::drawing() {
  QFETCH(QByteArray, first);
  QFETCH(QByteArray, second);
  QFETCH(bool, alike);

  const qreal plainHeight = draw("Beforememo", "A").lineHeight;
  const Drawn one = draw("Beforememo", first);
  const Drawn other = draw("Beforememo", second);
  QCOMPARE(one.firstLine == other.firstLine, alike);
  QCOMPARE(one.lineHeight, plainHeight);
  QCOMPARE(other.lineHeight, plainHeight);
  QCOMPARE(draw("Aftermemo", first).firstLine, one.firstLine);
}

QTEST_MAIN(PaneFontTest)
#include "pane_font_test.moc"
