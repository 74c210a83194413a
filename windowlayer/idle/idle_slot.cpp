#include "windowlayer/idle/idle_slot.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double kFallbackRefreshRate = 60.0;

}  // namespace

// Why the pacing looks the way it does. The loop announces every pass on
// which it would wait (aboutToBlock). A handler called on each such pass runs
// thousands of times a second while anything keeps the loop busy, so a call
// only happens once a refresh period has passed since the last one. A pass
// inside the period means the loop woke for some message after that call;
// that call is then owed, and a timer for the rest of the period wakes the
// loop for it. Hence: while the picture a handler changes is on screen, its
// repaint is such a message and the handler runs once per refresh; while
// nothing arrives (a hidden picture posts no repaint), no timer is armed and
// the loop sleeps until some other message comes.
IdleSlot::IdleSlot(QAbstractEventDispatcher* dispatcher, QObject* parent) : QObject(parent) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  clock_.start();
  if (dispatcher == nullptr) dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher != nullptr) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleSlot::onAboutToBlock);
  }
}

IdleSlot& IdleSlot::application() {
  static QPointer<IdleSlot> slot;
  if (slot.isNull()) slot = new IdleSlot(nullptr, QCoreApplication::instance());
  return *slot;
}

void IdleSlot::install(IdleHandler handler, QObject* context) {
  handler_ = std::move(handler);
  context_ = context;
  bound_ = context != nullptr;
}

void IdleSlot::clear() {
  handler_ = nullptr;
  context_ = nullptr;
  bound_ = false;
  wake_.stop();
}

bool IdleSlot::isInstalled() const { return handler_ && (!bound_ || !context_.isNull()); }

void IdleSlot::onAboutToBlock() {
  if (calling_ || !isInstalled()) return;
  if (std::chrono::nanoseconds(clock_.nsecsElapsed()) >= due_) {
    call();
  } else {
    wakeAtNextPeriod();
  }
}

void IdleSlot::call() {
  due_ = std::chrono::nanoseconds(clock_.nsecsElapsed()) + period();
  wake_.stop();
  // A copy: the handler may replace or clear the slot while it runs.
  const IdleHandler handler = handler_;
  bool done = true;
  calling_ = true;
  handler(QCoreApplication::instance(), done);
  calling_ = false;
  if (!done) wakeAtNextPeriod();
}

void IdleSlot::wakeAtNextPeriod() {
  if (wake_.isActive()) return;
  const auto rest = due_ - std::chrono::nanoseconds(clock_.nsecsElapsed());
  wake_.start(
      std::max(std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(rest)));
}

std::chrono::nanoseconds IdleSlot::period() const {
  const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                              ? QGuiApplication::primaryScreen()
                              : nullptr;
  double rate = screen != nullptr ? screen->refreshRate() : 0.0;
  if (!(rate > 0.0) || !std::isfinite(rate)) rate = kFallbackRefreshRate;
  return std::chrono::nanoseconds(std::llround(1e9 / rate));
}

}  // namespace vesk
