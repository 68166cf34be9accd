#include "tests/ui/image_fixtures.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <png.h>
#include <jpeglib.h>
// clang-format on

#include <fstream>
#include <stdexcept>

namespace zentri::test {
namespace {

void Append(png_structp png, png_bytep data, size_t n) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void Flush(png_structp) {}

int Channels(int colorType) {
    switch (colorType) {
        case 0:
        case 3:
            return 1;
        case 4:
            return 2;
        case 2:
            return 3;
        default:
            return 4;
    }
}

// Rows packed as libpng expects them: big-endian 16-bit samples, sub-byte samples packed
// from the high bits.
std::vector<std::vector<uint8_t>> PackRows(const PngSpec& s) {
    int channels = Channels(s.colorType);
    std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(s.height));
    size_t bitsPerRow = static_cast<size_t>(s.width) * channels * s.bitDepth;
    for (int y = 0; y < s.height; ++y) {
        std::vector<uint8_t>& row = rows[y];
        row.assign((bitsPerRow + 7) / 8, 0);
        for (int i = 0; i < s.width * channels; ++i) {
            uint16_t v = s.samples[static_cast<size_t>(y) * s.width * channels + i];
            if (s.bitDepth == 16) {
                row[2 * i] = static_cast<uint8_t>(v >> 8);
                row[2 * i + 1] = static_cast<uint8_t>(v);
            } else if (s.bitDepth == 8) {
                row[i] = static_cast<uint8_t>(v);
            } else {
                size_t bit = static_cast<size_t>(i) * s.bitDepth;
                row[bit / 8] |= static_cast<uint8_t>(v << (8 - s.bitDepth - bit % 8));
            }
        }
    }
    return rows;
}

bool WritePng(png_structp png, png_infop info, const PngSpec& s,
              std::vector<std::vector<uint8_t>>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.colorType == 3) {
        std::vector<png_color> colors;
        for (size_t i = 0; i + 2 < s.palette.size(); i += 3)
            colors.push_back({s.palette[i], s.palette[i + 1], s.palette[i + 2]});
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
        if (!s.paletteAlpha.empty())
            png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()),
                         nullptr);
    }
    std::vector<png_bytep> pointers;
    for (auto& r : rows)
        pointers.push_back(r.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}  // namespace

std::vector<uint8_t> MakePng(const PngSpec& spec) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, Flush);
    auto rows = PackRows(spec);
    bool ok = WritePng(png, info, spec, rows);
    png_destroy_write_struct(&png, &info);
    if (!ok) throw std::runtime_error("cannot write the test PNG");
    return out;
}

std::vector<uint8_t> MakeJpeg(int w, int h, const std::vector<uint8_t>& rgb, int quality,
                              bool progressive) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(&rgb[static_cast<size_t>(cinfo.next_scanline) * w * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zentri::test
