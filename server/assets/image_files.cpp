#include "server/assets/image_files.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <memory>

namespace zentri::server::assets {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

}  // namespace

bool WritePng(const std::filesystem::path& file, const Canvas& canvas) {
    File out(fopen(file.c_str(), "wb"));
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> pixels = canvas.Rgba8();
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out.get());
    png_set_IHDR(png, info, canvas.Width(), canvas.Height(), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < canvas.Height(); ++y)
        png_write_row(png, pixels.data() + static_cast<size_t>(y) * canvas.Width() * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fflush(out.get()) == 0;
}

bool WriteJpeg(const std::filesystem::path& file, const Canvas& canvas, int quality) {
    File out(fopen(file.c_str(), "wb"));
    if (!out) return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out.get());
    cinfo.image_width = static_cast<JDIMENSION>(canvas.Width());
    cinfo.image_height = static_cast<JDIMENSION>(canvas.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> pixels = canvas.Rgb8();
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            pixels.data() + static_cast<size_t>(cinfo.next_scanline) * canvas.Width() * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return fflush(out.get()) == 0;
}

}  // namespace zentri::server::assets
