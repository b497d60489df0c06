#include "bitmap_cache.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "area_scale.h"
#include "resource_ids.h"
#include "twips.h"

namespace karvelo::win32 {
namespace {

// The drawing of picture `number` at `density` in the program file: its rows where
// the resource holds them, read in place.
struct Drawing {
    const unsigned char* rows = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = true;

    const unsigned char* Row(int y) const {
        return rows + static_cast<size_t>(bottomUp ? height - 1 - y : y) * static_cast<size_t>(width) * 4;
    }
    // The pixels, top row first.
    std::vector<std::uint32_t> Pixels() const {
        std::vector<std::uint32_t> px(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            std::memcpy(&px[static_cast<size_t>(y) * static_cast<size_t>(width)], Row(y),
                        static_cast<size_t>(width) * 4);
        return px;
    }
};

// The drawing, or one without rows when the resource is missing or is not a 32-bit
// uncompressed bitmap whose pixels are all there.
Drawing FindDrawing(HINSTANCE module, int number, int density) {
    // Only the numbers of pictures: a double-density number is no picture of its own.
    if (number <= 0 || number >= KARVELO_BITMAP_DOUBLE_DENSITY) return {};
    const int id = number + (density == 2 ? KARVELO_BITMAP_DOUBLE_DENSITY : 0);
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(2) /* RT_BITMAP */,
                                  MAKEINTRESOURCEW(id), MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH));
    if (!found) return {};
    const DWORD bytes = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!data || bytes < sizeof(BITMAPINFOHEADER)) return {};
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    const long long width = header.biWidth;
    const long long height = header.biHeight > 0 ? header.biHeight : -static_cast<long long>(header.biHeight);
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biBitCount != 32 ||
        header.biCompression != BI_RGB || header.biClrUsed != 0 || width <= 0 || height <= 0 ||
        width > 8192 || height > 8192 || header.biSize + width * height * 4 > bytes)
        return {};
    return {data + header.biSize, static_cast<int>(width), static_cast<int>(height), header.biHeight > 0};
}

}  // namespace

int ArtworkDensity(int dpi) { return dpi > USER_DEFAULT_SCREEN_DPI ? 2 : 1; }

HBITMAP CreatePicture(int width, int height, std::uint32_t** pixels) {
    *pixels = nullptr;
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    *pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

BitmapCache::BitmapCache(HINSTANCE module, int dpi)
    : module_(module), dpi_(dpi), source_(CreateCompatibleDC(nullptr)) {}

BitmapCache::~BitmapCache() {
    Clear();
    if (source_) DeleteDC(source_);
}

void BitmapCache::Clear() {
    for (auto& [number, picture] : pictures_) DeleteObject(picture.bitmap);
    pictures_.clear();
    missing_.clear();
}

void BitmapCache::SetDpi(int dpi) {
    if (dpi == dpi_) return;
    Clear();
    dpi_ = dpi;
}

const BitmapCache::Picture* BitmapCache::Get(int number) {
    if (auto at = pictures_.find(number); at != pictures_.end()) return &at->second;
    if (missing_.contains(number)) return nullptr;

    const int density = ArtworkDensity(dpi_);
    const Drawing drawing = FindDrawing(module_, number, density);
    // Its size in twips is its size in pixels at the density it was drawn for.
    const int drawnDpi = USER_DEFAULT_SCREEN_DPI * density;
    const int width = PixelsFromTwips(TwipsFromPixels(drawing.width, drawnDpi), dpi_);
    const int height = PixelsFromTwips(TwipsFromPixels(drawing.height, drawnDpi), dpi_);
    if (!drawing.rows || width <= 0 || height <= 0) {
        missing_.insert(number);
        return nullptr;
    }

    std::uint32_t* out = nullptr;
    HBITMAP bitmap = CreatePicture(width, height, &out);
    if (!bitmap) return nullptr;  // out of memory now; tried again at the next draw
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width == drawing.width && height == drawing.height) {
        // At the density it was drawn for: a copy, straight from the program file.
        for (int y = 0; y < height; ++y)
            std::memcpy(out + static_cast<size_t>(y) * static_cast<size_t>(width), drawing.Row(y),
                        static_cast<size_t>(width) * 4);
    } else {
        const std::vector<std::uint32_t> scaled =
            ScaleByArea({drawing.Pixels(), drawing.width, drawing.height}, width, height);
        if (scaled.size() != count) {
            DeleteObject(bitmap);
            return nullptr;
        }
        std::memcpy(out, scaled.data(), count * 4);
    }
    bool opaque = true;
    for (size_t i = 0; i < count && opaque; ++i) opaque = (out[i] >> 24) == 0xff;
    return &(pictures_[number] = Picture{bitmap, {width, height}, opaque});
}

SIZE BitmapCache::PixelSize(int number) {
    const Picture* p = Get(number);
    return p ? p->size : SIZE{0, 0};
}

bool BitmapCache::Draw(HDC dc, int number, int x, int y) {
    const Picture* p = Get(number);
    if (!p || !source_) return false;
    HGDIOBJ old = SelectObject(source_, p->bitmap);
    if (p->opaque) {
        BitBlt(dc, x, y, p->size.cx, p->size.cy, source_, 0, 0, SRCCOPY);
    } else {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, x, y, p->size.cx, p->size.cy, source_, 0, 0, p->size.cx, p->size.cy, blend);
    }
    SelectObject(source_, old);
    return true;
}

}  // namespace karvelo::win32
