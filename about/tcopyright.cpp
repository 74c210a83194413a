#include "about/tcopyright.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include "ui_copyright.h"
#include "windowlayer/controls/window_font.h"
#include "windowlayer/idle/idle_slot.h"
#include "windowlayer/imaging/bitmap_resource.h"

namespace vesk {

TCopyright::TCopyright(QWidget* parent)
    : FramedDialog(parent), ui(std::make_unique<Ui::Copyright>()) {
  ui->setupUi(this);
  // The tab captions and the memos take the window font; a .ui file can only
  // give point sizes.
  setFont(windowFont());
  frameClientArea();
  for (QLabel* label : findChildren<QLabel*>()) {
    if (label->pixmap().isNull()) label->adjustSize();
  }
  connect(ui->Button1, &QPushButton::clicked, this, &TCopyright::Button1Click);
  // Connected after setupUi chose the first page: only the user's changes count.
  connect(ui->PC, &QTabWidget::currentChanged, this, &TCopyright::PCChange);
  FormCreate();
}

TCopyright::~TCopyright() = default;

void TCopyright::Button1Click() { reject(); }

void TCopyright::FormCreate() {
  orbit_.prepare(ui->Image->size(), loadBitmapResource(QStringLiteral("KALDREN")));
  ui->Image->setPicture(orbit_.picture());
}

void TCopyright::Timer1Timer(QObject* /*Sender*/, bool& /*Done*/) {
  orbit_.step();
  ui->Image->setPicture(orbit_.picture());
}

void TCopyright::PCChange() {
  IdleSlot& idle = IdleSlot::application();
  if (ui->PC->tabText(ui->PC->currentIndex()) == QLatin1String("Credit")) {
    idle.install([this](QObject* sender, bool& done) { Timer1Timer(sender, done); }, this);
  } else {
    idle.clear();
  }
}

void TCopyright::setVisible(bool visible) {
  // Qt would centre a dialog over its parent; this one opens centred on the
  // screen the first time, and later where it was closed.
  if (visible && !placed_) {
    centreOnScreen();
    placed_ = true;
  }
  FramedDialog::setVisible(visible);
}

void TCopyright::centreOnScreen() {
  // Made now, the platform window can tell the frame's size, where it knows it.
  winId();
  const QSize frame = frameGeometry().size();
  const QRect screen = this->screen()->geometry();
  move(screen.left() + std::max(0, (screen.width() - frame.width()) / 2),
       screen.top() + std::max(0, (screen.height() - frame.height()) / 2));
}

void TCopyright::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      // No cancel button: Escape closes nothing.
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // No default button either: Enter clicks the focused button, if any.
      if (auto* button = qobject_cast<QAbstractButton*>(focusWidget())) button->click();
      event->accept();
      return;
    default:
      FramedDialog::keyPressEvent(event);
  }
}

}  // namespace vesk
