// Paints the compared scenes (paint_scenes.h) with the Windows window's own painting
// into memory bitmaps at 96 and 144 dots per inch, and writes each as a binary PPM
// file "<scene>-<dpi>.ppm" into the folder given, for paint_compare to set beside
// the Qt window's picture of the same scene.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "paint_scenes.h"
#include "table_painter.h"

namespace {

using namespace karvelo;

bool WritePpm(const std::string& path, const std::uint32_t* px, int width, int height) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::string row(static_cast<size_t>(width) * 3, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = px[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            row[static_cast<size_t>(x) * 3] = static_cast<char>((p >> 16) & 0xFF);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<char>(p & 0xFF);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: paint_render <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    win32::TablePainter painter(GetModuleHandleW(nullptr));
    HDC dc = CreateCompatibleDC(nullptr);
    int written = 0;
    for (const int dpi : {96, 144}) {
        painter.SetDpi(dpi);
        const PixelBox size = DrawnBox(paint::kComparedTable, dpi);
        std::uint32_t* px = nullptr;
        HBITMAP bitmap = win32::CreatePicture(size.right, size.bottom, &px);
        if (!bitmap || !dc) return 1;
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (const paint::NamedScene& s : paint::ComparedScenes()) {
            painter.SetBackground(s.background);
            painter.Paint(dc, s.scene, {0, 0, size.right, size.bottom});
            GdiFlush();
            const std::string path = folder + "/" + s.name + "-" + std::to_string(dpi) + ".ppm";
            if (!WritePpm(path, px, size.right, size.bottom)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
            ++written;
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    std::printf("paint_render: %d pictures\n", written);
    return 0;
}
