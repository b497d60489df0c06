// Watches a game window grow before its first deal and checks every frame the X
// server shows on the way: each must be the painter's picture of the table at that
// height (painted here with the Qt canvas), inside the client area and outside the
// labels' text, within 2 of 255 per channel. A row the window has not painted yet
// (the X server's fill, or what lay there before) fails it. Start it, then send the
// window its "Nytt spel".
//   growth_frames <window id> <menu bar rows> <folder> [--edge-allowed] [seconds]
// Exits 0 when the window grew and every frame was the table's, 1 otherwise. With
// --edge-allowed, a frame whose only wrong pixels lie in the rows its last two steps
// of growth exposed is counted and reported but passes (see the README: under Wine
// the window manager shows those rows before Wine copies the painted ones to them,
// and on a busy machine Wine's copy can trail the growth by a step).
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "qt_render.h"

// Last: Xlib's macros would clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace karvelo;
using namespace karvelo::paint;
using Clock = std::chrono::steady_clock;

constexpr int kTolerance = 2;

// A grab that races a change of the window's size fails; the next one is taken.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: growth_frames <window> <menu rows> <folder> [seconds]\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const int menu = std::atoi(argv[2]);
    const std::string folder = argv[3];
    int next = 4;
    const bool edgeAllowed = argc > next && std::string(argv[next]) == "--edge-allowed";
    if (edgeAllowed) ++next;
    const double seconds = argc > next ? std::atof(argv[next]) : 6.0;

    // The expected picture: the growing table at its full height.
    paint::NamedScene growing;
    for (paint::NamedScene& s : paint::ComparedScenes())
        if (s.name == "growing") growing = std::move(s);
    const int width = DrawnBox(paint::kComparedTable, kStandardDpi).right;
    const QImage expected = PaintWithQt(growing, kStandardDpi, width, 1200);
    const std::vector<PixelBox> labels = paint::LabelAreas(growing.scene, kStandardDpi);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "growth_frames: no X display\n");
        return 2;
    }
    // Frames from the first change of height on; those at the final height are left
    // out at the end, since the deal follows the growth at once.
    struct Failure {
        int frame, height, beyond, firstY;
        bool edgeOnly;
        QImage shot;
    };
    std::vector<Failure> failures;
    std::vector<int> heights;
    XSetErrorHandler(IgnoreError);
    int firstHeight = -1, lastHeight = -1, previousHeight = -1, olderHeight = -1;
    const auto start = Clock::now();
    auto changed = start;
    while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, window, &a)) break;
        const int h = a.height - menu, w = std::min(a.width, width);
        if (firstHeight < 0) firstHeight = h;
        if (h != lastHeight) {
            olderHeight = previousHeight;
            previousHeight = lastHeight;
            lastHeight = h;
            changed = Clock::now();
        } else if (h > firstHeight && std::chrono::duration<double>(Clock::now() - changed).count() > 1.0) {
            break;  // grown, and still for a second
        }
        if (h == firstHeight || h <= 0) continue;
        XImage* image = XGetImage(display, window, 0, menu, static_cast<unsigned>(w), static_cast<unsigned>(h),
                                  AllPlanes, ZPixmap);
        if (!image) continue;
        heights.push_back(h);
        int beyond = 0, firstY = -1;
        for (int y = 0; y < h && y < expected.height(); ++y) {
            for (int x = 0; x < w; ++x) {
                if (InAny(labels, x, y)) continue;
                const unsigned long px = XGetPixel(image, x, y);
                const QRgb want = expected.pixel(x, y);
                const int d = ChannelDistance(static_cast<unsigned>(px & 0xFFFFFF), want & 0xFFFFFF);
                if (d > kTolerance && beyond++ == 0) firstY = y;
            }
        }
        if (beyond > 0) {
            // Rows above the height two steps before were shown a whole step ago: they
            // must be right.
            const int exposedFrom = olderHeight >= 0 ? olderHeight : previousHeight;
            Failure f{static_cast<int>(heights.size()), h, beyond, firstY, firstY >= exposedFrom, {}};
            if (failures.size() < 10) {
                f.shot = QImage(w, h, QImage::Format_RGB32);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        f.shot.setPixel(x, y, 0xFF000000u | static_cast<QRgb>(XGetPixel(image, x, y)));
            }
            failures.push_back(std::move(f));
        }
        XDestroyImage(image);
    }
    int frames = 0, failed = 0, edges = 0;
    for (int h : heights) frames += h < lastHeight ? 1 : 0;
    for (const Failure& f : failures) {
        if (f.height >= lastHeight) continue;
        ++(f.edgeOnly ? edges : failed);
        std::printf("frame %d (client %d rows): %d pixels are not the table's, the first in row %d%s\n", f.frame,
                    f.height, f.beyond, f.firstY, f.edgeOnly ? ", in the rows just exposed" : "");
        if (!f.shot.isNull())
            f.shot.save(QString::fromStdString(folder + "/growth-frame-" + std::to_string(f.frame) + ".png"));
    }
    XCloseDisplay(display);
    std::printf("growth_frames: %d frames of the growth from %d to %d rows, %d not the table's "
                "(%d of them only in the rows just exposed)\n",
                frames, firstHeight, lastHeight, failed + edges, edges);
    if (lastHeight <= firstHeight) {
        std::printf("growth_frames: the window did not grow\n");
        return 1;
    }
    return failed == 0 && (edgeAllowed || edges == 0) ? 0 : 1;
}
