// Build tool for the machine that builds: turns a PNG into the Windows bitmap the
// Windows program carries as a resource (bitmap_file.h). Needs libpng only, so a
// cross build for Windows needs no window system on the build machine.
//   karvelo_tobmp <in.png> <out.bmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "bitmap_file.h"
#include "png_read.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <in.png> <out.bmp>\n", argv[0]);
        return 2;
    }
    karvelo::DecodedPicture picture;
    std::string error;
    if (!karvelo::ReadPng(argv[1], picture, error)) {
        std::fprintf(stderr, "%s: cannot read %s as a picture: %s\n", argv[0], argv[1], error.c_str());
        return 1;
    }
    const std::string bitmap = karvelo::BitmapFile({picture.width, picture.height, picture.words});
    // Written beside its place and renamed over it: an interrupted build leaves no
    // half a bitmap for the next one to take as made.
    const std::filesystem::path out = argv[2];
    std::filesystem::path partial = out;
    partial += ".part";
    std::error_code ec;
    if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), ec);
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(bitmap.data(), static_cast<std::streamsize>(bitmap.size()));
        file.close();
        if (bitmap.empty() || !file) ec = std::make_error_code(std::errc::io_error);
    }
    if (!ec) std::filesystem::rename(partial, out, ec);
    if (ec) {
        std::filesystem::remove(partial, ec);
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
