// The yardstick for the start-up figures: an empty main window of the size the game
// opens with, built by the same toolchain and reporting its first frame the same way.
#include <QApplication>
#include <QMainWindow>
#include <QWidget>

#include "first_frame_probe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    karvelo::InstallFirstFrameProbe();
    QMainWindow window;
    auto* table = new QWidget(&window);
    table->setFixedSize(644, 385);
    window.setCentralWidget(table);
    window.show();
    return QApplication::exec();
}
