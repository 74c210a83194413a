#include <QApplication>
#include <QTest>

#include "windowlayer/imaging/image_control.h"
#include "windowlayer/imaging/testing/paint_counter.h"

using vesk::ImageControl;
using vesk::PaletteBitmap;

class ImageControlTest : public QObject {
  Q_OBJECT

 private slots:
  void pictureIsACopyOfThePresentContent();
  void shownAtTheTopLeftUnstretched();
  void replacingThePictureRepaints();
};

void ImageControlTest::pictureIsACopyOfThePresentContent() {
  ImageControl control;
  PaletteBitmap bitmap(5, 5);
  bitmap.fillRect(bitmap.rect(), Qt::red);
  control.setPicture(bitmap);
  bitmap.fillRect(bitmap.rect(), Qt::blue);
  QCOMPARE(control.picture().pixel(2, 2), qRgb(255, 0, 0));
  QCOMPARE(bitmap.image().pixel(2, 2), qRgb(0, 0, 255));
}

void ImageControlTest::shownAtTheTopLeftUnstretched() {
  QWidget window;
  window.setStyleSheet("background: white");
  ImageControl control(&window);
  control.setGeometry(0, 0, 20, 10);
  PaletteBitmap bitmap(6, 4);
  bitmap.fillRect(bitmap.rect(), Qt::red);
  control.setPicture(bitmap);
  const QImage shown = control.grab().toImage();
  QCOMPARE(shown.pixel(0, 0), qRgb(255, 0, 0));
  QCOMPARE(shown.pixel(5, 3), qRgb(255, 0, 0));
  QVERIFY(shown.pixel(6, 3) != qRgb(255, 0, 0));
  QVERIFY(shown.pixel(5, 4) != qRgb(255, 0, 0));
}

void ImageControlTest::replacingThePictureRepaints() {
  ImageControl control;
  control.resize(8, 8);
  control.show();
  QVERIFY(QTest::qWaitForWindowExposed(&control));
  vesk::testing::PaintCounter counter;
  control.installEventFilter(&counter);
  control.setPicture(PaletteBitmap(8, 8));
  QTRY_VERIFY(counter.count > 0);
}

QTEST_MAIN(ImageControlTest)
#include "image_control_test.moc"
