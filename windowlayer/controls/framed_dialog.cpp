#include "windowlayer/controls/framed_dialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionTitleBar>
#include <QWindow>

namespace vesk {
namespace {

int frameWidth(const QWidget& widget) {
  return widget.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &widget);
}

QStyleOptionTitleBar titleBarOption(const QWidget& widget, const QRect& rect) {
  QStyleOptionTitleBar option;
  option.initFrom(&widget);
  option.rect = rect;
  option.text = widget.windowTitle();
  option.subControls = QStyle::SC_TitleBarLabel;
  option.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint;
  // Styles read the title bar's activity from State_Active in either field.
  if (widget.isActiveWindow()) {
    option.state |= QStyle::State_Active;
    option.titleBarState = QStyle::State_Active;
  } else {
    option.palette.setCurrentColorGroup(QPalette::Inactive);
  }
  return option;
}

}  // namespace

FramedDialog::FramedDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {}

QMargins FramedDialog::frameMargins() const {
  const int frame = frameWidth(*this);
  const QStyleOptionTitleBar option = titleBarOption(*this, {});
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this);
  return {frame, frame + title, frame, frame};
}

void FramedDialog::frameClientArea() {
  const QMargins margins = frameMargins();
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    child->move(child->pos() + QPoint(margins.left(), margins.top()));
  setFixedSize(size().grownBy(margins));
}

QRect FramedDialog::titleBar() const {
  const QMargins margins = frameMargins();
  const int frame = margins.left();
  return {frame, frame, width() - 2 * frame, margins.top() - frame};
}

void FramedDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  QStyleOptionFrame frame;
  frame.initFrom(this);
  frame.lineWidth = frameWidth(*this);
  if (isActiveWindow()) frame.state |= QStyle::State_Active;
  style()->drawPrimitive(QStyle::PE_FrameWindow, &frame, &painter, this);
  const QStyleOptionTitleBar title = titleBarOption(*this, titleBar());
  style()->drawComplexControl(QStyle::CC_TitleBar, &title, &painter, this);
}

void FramedDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange)
    update();
  QDialog::changeEvent(event);
}

void FramedDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !titleBar().contains(event->position().toPoint())) {
    QDialog::mousePressEvent(event);
    return;
  }
  // The window manager moves it where there is one that can.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  grip_ = event->globalPosition().toPoint() - pos();
}

void FramedDialog::mouseMoveEvent(QMouseEvent* event) {
  if (grip_) move(event->globalPosition().toPoint() - *grip_);
  QDialog::mouseMoveEvent(event);
}

void FramedDialog::mouseReleaseEvent(QMouseEvent* event) {
  grip_.reset();
  QDialog::mouseReleaseEvent(event);
}

}  // namespace vesk
