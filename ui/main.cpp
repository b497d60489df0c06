// Karvelo: the main window is the program; there is no other entry.
#include <QApplication>

#include "first_frame_probe.h"
#include "karvelo.h"
#include "window_icon.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Karvelo"));
    QApplication::setApplicationVersion(QStringLiteral("0.9"));
    QGuiApplication::setDesktopFileName(QStringLiteral("se.karvelo.Karvelo"));
    QApplication::setWindowIcon(karvelo::WindowIcon());
    QApplication::setQuitOnLastWindowClosed(false);  // the window ends the run itself

    karvelo::InstallFirstFrameProbe();  // a no-op unless a benchmark asks for it
    karvelo::Karvelo window;
    window.show();
    window.raise();
    window.activateWindow();  // keys go to the table from the start
    return QApplication::exec();
}
