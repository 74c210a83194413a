#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <functional>

class QAbstractEventDispatcher;

namespace vesk {

// Called when the message loop finds nothing to do. `done` arrives true: left
// true, the loop waits for the next message before it idles again; set to
// false, the handler is called again without waiting for one.
using IdleHandler = std::function<void(QObject* sender, bool& done)>;

// The application's idle-handler slot: one handler at a time; installing
// replaces the previous one, clearing removes it. Calls are paced to the
// display: at most one per refresh period of the primary screen.
class IdleSlot : public QObject {
  Q_OBJECT

 public:
  // Listens to `dispatcher` (the thread's current one when null).
  explicit IdleSlot(QAbstractEventDispatcher* dispatcher = nullptr, QObject* parent = nullptr);

  // The slot of the running application, made on first use.
  static IdleSlot& application();

  // A handler bound to `context` is cleared when `context` is destroyed, so it
  // is never called on an object that is gone.
  void install(IdleHandler handler, QObject* context = nullptr);
  void clear();
  bool isInstalled() const;

 private:
  void onAboutToBlock();
  void call();
  void wakeAtNextPeriod();
  std::chrono::nanoseconds period() const;

  IdleHandler handler_;
  QPointer<QObject> context_;
  bool bound_ = false;
  bool calling_ = false;
  bool callAgain_ = false;
  QElapsedTimer clock_;
  std::chrono::nanoseconds due_{0};
  QTimer wake_;
};

}  // namespace vesk
