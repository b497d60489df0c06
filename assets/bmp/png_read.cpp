#include "png_read.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bitmap_file.h"

namespace karvelo {
namespace {

// libpng reports a fault by jumping back to the last setjmp: the two functions below
// hold that jump's target and nothing with a destructor, and the reader's message
// goes to the error text.
[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Reads the header and asks for bytes blue, green, red, alpha at 8 bits a channel,
// whatever the file holds, without gamma or colour conversion.
bool ReadHeader(png_structp png, png_infop info, std::FILE* file, png_uint_32* width,
                png_uint_32* height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);       // palettes, grey below 8 bits, transparent colours
    png_set_scale_16(png);     // 16 bits a channel to 8, rounded
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);  // opaque where there is no alpha
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return png_get_rowbytes(png, info) == static_cast<size_t>(*width) * 4;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

struct Reader {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Reader() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        if (file) std::fclose(file);
    }
};

}  // namespace

bool ReadPng(const std::string& path, DecodedPicture& picture, std::string& error) {
    error.clear();
    Reader r;
    r.file = std::fopen(path.c_str(), "rb");
    if (!r.file) {
        error = std::strerror(errno);
        return false;
    }
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    if (r.png) r.info = png_create_info_struct(r.png);
    if (!r.png || !r.info) {
        error = "out of memory";
        return false;
    }
    png_uint_32 width = 0, height = 0;
    if (!ReadHeader(r.png, r.info, r.file, &width, &height)) {
        if (error.empty()) error = "not 8 bits a channel after conversion";
        return false;
    }
    if (width == 0 || height == 0 || width > kBitmapMaxSide || height > kBitmapMaxSide) {
        error = "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, more than " + std::to_string(kBitmapMaxSide) + " on a side";
        return false;
    }
    const size_t count = static_cast<size_t>(width) * height;
    std::vector<unsigned char> bytes(count * 4);
    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y) rows[y] = bytes.data() + y * width * 4;
    if (!ReadRows(r.png, rows.data())) return false;

    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.words.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* px = &bytes[4 * i];
        const uint32_t argb = uint32_t{px[3]} << 24 | uint32_t{px[2]} << 16 |
                              uint32_t{px[1]} << 8 | uint32_t{px[0]};
        picture.words[i] = Premultiplied(argb);
    }
    return true;
}

}  // namespace karvelo
