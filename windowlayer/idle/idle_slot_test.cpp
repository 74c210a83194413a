#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

#include "windowlayer/idle/idle_slot.h"

using vesk::IdleSlot;

namespace {

// Runs a real event loop (the kind that waits, so the slot sees it idle) for
// `milliseconds`, with extra messages arriving at `messagesAt`.
void runLoop(int milliseconds, const QList<int>& messagesAt = {}) {
  QEventLoop loop;
  QObject receiver;
  for (const int at : messagesAt) QTimer::singleShot(at, &receiver, [] {});
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

class IdleSlotTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QCoreApplication::processEvents(); }
  void doneLeftTrueWaitsForTheNextMessage_data();
  void doneLeftTrueWaitsForTheNextMessage();
  void runsContinuouslyPacedToTheDisplay_data();
  void runsContinuouslyPacedToTheDisplay();
  void installingReplacesClearingAndTheContextsEndRemove();
  void handlerMayClearOrReplaceTheSlotWhileRunning();
  void nestedLoopInsideTheHandlerDoesNotReenterIt();
};

void IdleSlotTest::doneLeftTrueWaitsForTheNextMessage_data() {
  QTest::addColumn<QList<int>>("messagesAt");
  QTest::addColumn<int>("calls");

  // Messages further apart than a refresh period: each one is followed by
  // exactly one call, and the first idle pass makes one of its own.
  QTest::newRow("no message") << QList<int>{} << 1;
  QTest::newRow("one message") << QList<int>{100} << 2;
  QTest::newRow("three messages") << QList<int>{70, 140, 210} << 4;
}

void IdleSlotTest::doneLeftTrueWaitsForTheNextMessage() {
  QFETCH(QList<int>, messagesAt);
  QFETCH(int, calls);

  IdleSlot slot;
  int called = 0;
  slot.install([&](QObject* sender, bool& done) {
    ++called;
    QCOMPARE(sender, QCoreApplication::instance());
    QVERIFY(done);
  });
  runLoop(300, messagesAt);
  QCOMPARE(called, calls);
}

enum class KeepsBusy { DoneSetFalse, ZeroIntervalTimer, WorkPostsAMessage };
Q_DECLARE_METATYPE(KeepsBusy)

void IdleSlotTest::runsContinuouslyPacedToTheDisplay_data() {
  QTest::addColumn<KeepsBusy>("keepsBusy");
  QTest::newRow("handler sets done false") << KeepsBusy::DoneSetFalse;
  // The loop passes thousands of times a second.
  QTest::newRow("zero-interval timer") << KeepsBusy::ZeroIntervalTimer;
  // Like a step that repaints a picture on screen: each call causes one message.
  QTest::newRow("each call posts a message") << KeepsBusy::WorkPostsAMessage;
}

void IdleSlotTest::runsContinuouslyPacedToTheDisplay() {
  QFETCH(KeepsBusy, keepsBusy);
  QTimer busy;
  if (keepsBusy == KeepsBusy::ZeroIntervalTimer) busy.start(0);
  QObject receiver;
  IdleSlot slot;
  int called = 0;
  slot.install([&](QObject*, bool& done) {
    ++called;
    if (keepsBusy == KeepsBusy::DoneSetFalse) done = false;
    if (keepsBusy == KeepsBusy::WorkPostsAMessage)
      QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
  });
  runLoop(300);
  double rate = QGuiApplication::primaryScreen()->refreshRate();
  if (!(rate > 0)) rate = 60;
  QVERIFY2(called > 3, qPrintable(QString::number(called)));
  QVERIFY2(called <= 0.3 * rate + 2, qPrintable(QString::number(called)));
}

void IdleSlotTest::installingReplacesClearingAndTheContextsEndRemove() {
  IdleSlot slot;
  int first = 0;
  int second = 0;
  slot.install([&](QObject*, bool&) { ++first; });
  slot.install([&](QObject*, bool&) { ++second; });
  runLoop(50);
  QCOMPARE(first, 0);
  QCOMPARE(second, 1);
  slot.clear();
  QVERIFY(!slot.isInstalled());
  runLoop(50, {20});
  QCOMPARE(second, 1);
  // A handler bound to an object is never called once the object is gone.
  auto owner = std::make_unique<QObject>();
  slot.install([&](QObject*, bool&) { ++first; }, owner.get());
  QVERIFY(slot.isInstalled());
  owner.reset();
  QVERIFY(!slot.isInstalled());
  runLoop(50, {20});
  QCOMPARE(first, 0);
}

void IdleSlotTest::handlerMayClearOrReplaceTheSlotWhileRunning() {
  IdleSlot slot;
  int cleared = 0;
  int replacement = 0;
  // The first handler's captures die with it when it replaces itself.
  auto token = std::make_shared<int>(7);
  slot.install([&, token](QObject*, bool&) {
    ++cleared;
    slot.install([&](QObject*, bool&) {
      ++replacement;
      slot.clear();
    });
    QCOMPARE(*token, 7);
  });
  token.reset();
  runLoop(100, {50});
  QCOMPARE(cleared, 1);
  QCOMPARE(replacement, 1);
  QVERIFY(!slot.isInstalled());
}

void IdleSlotTest::nestedLoopInsideTheHandlerDoesNotReenterIt() {
  IdleSlot slot;
  int depth = 0;
  int deepest = 0;
  int called = 0;
  slot.install([&](QObject*, bool&) {
    ++called;
    deepest = std::max(deepest, ++depth);
    if (called == 1) runLoop(50);
    --depth;
  });
  runLoop(150, {100});
  QCOMPARE(deepest, 1);
  QVERIFY(called >= 2);
}

QTEST_MAIN(IdleSlotTest)
#include "idle_slot_test.moc"
