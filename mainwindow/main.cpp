// Start-up: the application object and its title, the main window with its
// panes filled, the about dialog built hidden, then the message loop until the
// main window closes.

#include <QIcon>

#include "about/tcopyright.h"
#include "mainwindow/tform1.h"
#include "windowlayer/application/application.h"
#include "windowlayer/controls/window_font.h"

int main(int argc, char* argv[]) {
  vesk::Application application(argc, argv);
  vesk::Application::setTitle(QStringLiteral("Vesktext"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vesktext.vesktext"));
  // Every size there is, so that title bars and task switchers need not
  // scale the 32 px picture up.
  QIcon icon(QStringLiteral(":/icons/vesktext.png"));
  for (const int size : {48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/vesktext-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  vesk::installFontSubstitutes();
  // Closing the main window ends the program even while hidden windows exist.
  QApplication::setQuitOnLastWindowClosed(true);

  vesk::TForm1 Form1;
  // Its parent only keeps it above the main window, and minimised with it.
  vesk::TCopyright Copyright(&Form1);
  Form1.setAboutDialog(&Copyright);
  Form1.show();
  return QApplication::exec();
}
