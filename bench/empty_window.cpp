// The yardstick for the start-up figures: an empty main window of the size the game
// opens with, built by the same toolchain and reporting its first frame the same way.
// With KARVELO_BENCH_EMPTY_MENU=1 it has a menu bar with one menu, for reference: the
// first text a program draws costs it the loading of the font database.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

#include "first_frame_probe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    karvelo::InstallFirstFrameProbe();
    QMainWindow window;
    auto* table = new QWidget(&window);
    table->setFixedSize(644, 385);
    window.setCentralWidget(table);
    if (qgetenv("KARVELO_BENCH_EMPTY_MENU") == "1")
        window.menuBar()->addMenu(QStringLiteral("Meny"))->addAction(QStringLiteral("Nytt spel"));
    window.show();
    return QApplication::exec();
}
