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
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vesktext.png")));
  vesk::installFontSubstitutes();
  // Closing the main window ends the program even while hidden windows exist.
  QApplication::setQuitOnLastWindowClosed(true);

  vesk::TForm1 Form1;
  vesk::TCopyright Copyright;
  Form1.setAboutDialog(&Copyright);
  Form1.show();
  return QApplication::exec();
}
