// Karvelo for Windows: opens the main window and handles its messages until it closes.
#include <windows.h>

#include "event_pump.h"
#include "main_window.h"
#include "store_session.h"

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int showCommand) {
    karvelo::StoreSession store;  // the registry layer's and the statistics' state
    const auto window = karvelo::win32::MainWindow::Create(module, showCommand);
    if (!window) return 1;
    return karvelo::win32::RunMessageLoop();
}
