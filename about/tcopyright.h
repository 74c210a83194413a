#pragma once

// The about dialog, Copyright: four tabbed pages of fixed text, and on page
// Credit the orbit animation, which runs as the application's idle handler
// while that page is active (even when the dialog is closed on it).

#include <memory>

#include "about/orbit_animation.h"
#include "windowlayer/controls/framed_dialog.h"

namespace Ui {
class Copyright;
}

namespace vesk {

class TCopyright : public FramedDialog {
  Q_OBJECT

 public:
  // Builds the dialog hidden on page VeskGraph and prepares the animation.
  explicit TCopyright(QWidget* parent = nullptr);
  ~TCopyright() override;

  const OrbitAnimation& orbit() const { return orbit_; }

  void Button1Click();
  void FormCreate();
  void Timer1Timer(QObject* Sender, bool& Done);
  void PCChange();

  void setVisible(bool visible) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void centreOnScreen();

  std::unique_ptr<Ui::Copyright> ui;
  OrbitAnimation orbit_;
  bool placed_ = false;
};

}  // namespace vesk
