// Karvelo: the main window is the program; there is no other entry.
#include <QApplication>

#include "first_frame_probe.h"
#include "font_warmup.h"
#include "karvelo_version.h"
#include "karvelo_window.h"
#include "session_signals.h"
#include "store_session.h"
#include "swedish_texts.h"
#include "window_icon.h"

int main(int argc, char* argv[]) {
    // The font configuration is read on a helper thread while the application
    // connects to the window system.
    karvelo::FontWarmUp fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Karvelo"));
    QApplication::setApplicationVersion(QStringLiteral(KARVELO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("se.karvelo.Karvelo"));
    QApplication::setWindowIcon(karvelo::WindowIcon());
    QApplication::setQuitOnLastWindowClosed(false);  // the window ends the run itself
    const karvelo::SwedishQtTexts swedish;  // Qt's dialogs and buttons in Swedish

    karvelo::StoreSession store;  // the registry layer's and the statistics' state
    karvelo::InstallFirstFrameProbe();  // a no-op unless a benchmark asks for it
    fonts.Finish();  // the window's first text is measured next
    karvelo::KarveloWindow window;
    // Told to end (the session ends, the system shuts down): "Avsluta", not a silent death.
    const karvelo::SessionSignals ending([&window] { window.SessionEnding(); });
    window.show();
    window.raise();
    window.activateWindow();  // keys go to the table from the start
    return QApplication::exec();
}
