#include "mainwindow/tform1.h"

#include <QLabel>
#include <QScreen>

#include "conversion/convert.h"
#include "mainwindow/commands/pane_commands.h"
#include "ui_mainwindow.h"
#include "windowlayer/controls/label_fit.h"
#include "windowlayer/controls/window_font.h"

namespace vesk {

namespace {

// Minimise and close, no maximise: the window has one fixed size.
constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// The layout is in pixels of a 96 dpi display; Qt's device-independent pixels
// keep it proportional on denser screens.
constexpr QSize kClientArea(438, 389);

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm1>()) {
  ui->setupUi(this);
  setWindowFlags(kWindowFlags);
  setFixedSize(kClientArea);
  // Every control inherits the window's font; a .ui file can only give point sizes.
  setFont(windowFont());
  ui->Beforememo->setFont(paneFont());
  ui->Aftermemo->setFont(paneFont());
  sizeToTextBefore(*ui->Label1, ui->Beforememo->x());

  startWithEmptyLine(*ui->Beforememo);
  startWithEmptyLine(*ui->Aftermemo);
  ui->Beforememo->setFocus();

  connect(ui->AfterCopyB, &QPushButton::clicked, this, &TForm1::AfterCopyBClick);
  connect(ui->BeforeCopyB, &QPushButton::clicked, this, &TForm1::BeforeCopyBClick);
  connect(ui->BeforePasteB, &QPushButton::clicked, this, &TForm1::BeforePasteBClick);
  connect(ui->AfterpasteB, &QPushButton::clicked, this, &TForm1::AfterpasteBClick);
  connect(ui->ConvertHtoZB, &QPushButton::clicked, this, &TForm1::ConvertHtoZBClick);
  connect(ui->ConvertZtoHB, &QPushButton::clicked, this, &TForm1::ConvertZtoHBClick);
  connect(ui->BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent* event) {
  // Placed before the window is mapped, so it never appears elsewhere first.
  if (!shownBefore_) centreOnScreen();
  shownBefore_ = true;
  QWidget::showEvent(event);
}

void TForm1::centreOnScreen() {
  QRect frame = frameGeometry();
  frame.moveCenter(screen()->availableGeometry().center());
  move(frame.topLeft());
}

void TForm1::AfterCopyBClick() { copyWhole(*ui->Aftermemo); }

void TForm1::BeforeCopyBClick() { copyWhole(*ui->Beforememo); }

void TForm1::BeforePasteBClick() { pasteReplacing(*ui->Beforememo); }

void TForm1::AfterpasteBClick() { pasteReplacing(*ui->Aftermemo); }

void TForm1::ConvertHtoZBClick() { convertInto(*ui->Beforememo, *ui->Aftermemo, ConvertHtoZ); }

void TForm1::ConvertZtoHBClick() { convertInto(*ui->Aftermemo, *ui->Beforememo, ConvertZtoH); }

void TForm1::BitBtn1Click() {
  if (aboutDialog_) aboutDialog_->exec();
}

}  // namespace vesk
