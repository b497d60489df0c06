// Sets the Qt window's picture of each compared scene (paint_scenes.h) beside the
// Windows window's (written by paint_render under Wine) at 96 and 144 dots per inch,
// inside the table and outside the labels' text (whose fonts differ by system): no
// channel of any pixel may differ by more than 2 of 255. Prints every scene's figures
// and each pixel that differs more; exits 1 then. With --qt-only it writes the Qt
// pictures as PNG and compares nothing.
//   paint_compare <folder of paint_render's pictures> [--qt-only]
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <string>

#include "qt_render.h"

namespace {

using namespace karvelo;
using namespace karvelo::paint;

constexpr int kTolerance = 2;
constexpr int kShownPerScene = 20;

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: paint_compare <folder> [--qt-only]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool qtOnly = argc > 2 && std::string(argv[2]) == "--qt-only";
    bool ok = true;
    for (const int dpi : {96, 144}) {
        for (const paint::NamedScene& s : paint::ComparedScenes()) {
            const PixelBox size = DrawnBox(kComparedTable, dpi);
            const QImage qt = PaintWithQt(s, dpi, size.right, size.bottom);
            const QString base = folder + QStringLiteral("/%1-%2").arg(QString::fromStdString(s.name)).arg(dpi);
            qt.save(base + QStringLiteral("-qt.png"));
            if (qtOnly) continue;
            const QImage win = QImage(base + QStringLiteral(".ppm")).convertToFormat(QImage::Format_RGB32);
            if (win.size() != qt.size()) {
                std::printf("%s at %d dpi: the Windows picture is missing or %dx%d, not %dx%d\n", s.name.c_str(),
                            dpi, win.width(), win.height(), qt.width(), qt.height());
                ok = false;
                continue;
            }
            const std::vector<PixelBox> labels = paint::LabelAreas(s.scene, dpi);
            QImage diff(qt.size(), QImage::Format_RGB32);
            diff.fill(Qt::black);
            int compared = 0, differing = 0, beyond = 0, largest = 0;
            for (int y = 0; y < qt.height(); ++y) {
                for (int x = 0; x < qt.width(); ++x) {
                    if (InAny(labels, x, y)) continue;
                    ++compared;
                    const QRgb a = qt.pixel(x, y), b = win.pixel(x, y);
                    const int d = ChannelDistance(a, b);
                    if (d == 0) continue;
                    ++differing;
                    largest = std::max(largest, d);
                    diff.setPixel(x, y, d > kTolerance ? qRgb(255, 0, 0) : qRgb(0, 96, 0));
                    if (d <= kTolerance) continue;
                    if (++beyond <= kShownPerScene)
                        std::printf("  %s at %d dpi: pixel (%d, %d) Qt #%06x, Windows #%06x\n", s.name.c_str(), dpi,
                                    x, y, a & 0xFFFFFF, b & 0xFFFFFF);
                }
            }
            diff.save(base + QStringLiteral("-diff.png"));
            std::printf("%-6s at %3d dpi: %d pixels compared, %d differ (by at most %d), %d by more than %d\n",
                        s.name.c_str(), dpi, compared, differing, largest, beyond, kTolerance);
            ok = ok && beyond == 0;
        }
    }
    if (!qtOnly) std::printf("paint_compare: %s\n", ok ? "the two windows paint the same pictures" : "FAILED");
    return ok ? 0 : 1;
}
