#pragma once

#include <QDialog>
#include <QMargins>
#include <QPoint>
#include <optional>

namespace vesk {

// A fixed-size dialog whose frame and title bar the dialog draws itself: a
// title and nothing else, no minimise, maximise or close button and no window
// menu. Window managers differ in which of their own buttons a program may
// turn off, and some (openbox) turn off none, so the dialog asks for no
// decoration at all and looks the same under every window manager, and under
// none. Dragging the title bar moves the window; the window manager's close
// request still closes it.
class FramedDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FramedDialog(QWidget* parent = nullptr);

  // The frame's width on each side, the title bar included in the top.
  QMargins frameMargins() const;

 protected:
  // Puts the frame around the client area that the controls were laid out
  // in, from (0, 0) to the dialog's present size, and fixes the window's size.
  void frameClientArea();

  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect titleBar() const;

  // Where the pointer holds the window, while the dialog moves it itself
  // (when no window manager does).
  std::optional<QPoint> grip_;
};

}  // namespace vesk
