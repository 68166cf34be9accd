#include "ui/platform/image_decoder.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <png.h>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <cstring>

namespace zentri {
namespace {

// libpng and libjpeg report errors by longjmp. Every function below that calls into them with
// setjmp armed keeps only trivially destructible locals, so a jump skips no destructor; the
// C++ buffers live in the callers, which the jump never crosses.

inline uint16_t Pack565(const uint8_t* p) {
    return static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
}

// One row of 3- or 4-byte pixels into the image.
void StoreRow(const uint8_t* row, int channels, int y, DecodedImage& out) {
    uint16_t* px = out.pixels.data() + static_cast<size_t>(y) * out.width;
    uint8_t* a =
        out.alpha.empty() ? nullptr : out.alpha.data() + static_cast<size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x, row += channels) {
        px[x] = Pack565(row);
        if (a) a[x] = channels == 4 ? row[3] : 0xFF;
    }
}

bool Allocate(DecodedImage& out, int w, int h, bool alpha) {
    out.width = w;
    out.height = h;
    out.pixels.assign(static_cast<size_t>(w) * h, 0);
    if (alpha) out.alpha.assign(out.pixels.size(), 0xFF);
    return true;
}

// ---- PNG ----

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void PngRead(png_structp png, png_bytep out, size_t n) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (n > src->size - src->pos) png_error(png, "truncated");
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
}

[[noreturn]] void PngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void PngWarning(png_structp, png_const_charp) {}

struct PngHeader {
    png_uint_32 width, height;
    int channels;  // 3 or 4 after the transforms
    int passes;    // 7 for interlaced images
};

// Reads up to the image data and sets the transforms to 8-bit RGB or RGBA.
bool PngReadHeader(png_structp png, png_infop info, PngHeader& h) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &h.width, &h.height, &depth, &colorType, &interlace, nullptr, nullptr);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_scale_16(png);
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    h.passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    h.channels = png_get_channels(png, info);
    return h.channels == 3 || h.channels == 4;
}

bool PngReadRow(png_structp png, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_row(png, row, nullptr);
    return true;
}

bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    PngSource source{data, size, 0};
    bool ok = info != nullptr;
    if (ok) {
        png_set_read_fn(png, &source, PngRead);
        // IHDR itself is refused beyond the limits, before anything is allocated for it.
        png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
        png_set_chunk_malloc_max(png, 8 << 20);
        PngHeader h{};
        ok = PngReadHeader(png, info, h) && ImageSizeAllowed(h.width, h.height) &&
             Allocate(out, static_cast<int>(h.width), static_cast<int>(h.height), h.channels == 4);
        if (ok && h.passes == 1) {
            std::vector<uint8_t> row(static_cast<size_t>(h.width) * h.channels);
            for (int y = 0; ok && y < out.height; ++y) {
                ok = PngReadRow(png, row.data());
                if (ok) StoreRow(row.data(), h.channels, y, out);
            }
        } else if (ok) {
            // Interlaced: each pass refines the whole picture, so it is read in full first.
            size_t stride = static_cast<size_t>(h.width) * h.channels;
            std::vector<uint8_t> image(stride * h.height);
            for (int pass = 0; ok && pass < h.passes; ++pass)
                for (int y = 0; ok && y < out.height; ++y)
                    ok = PngReadRow(png, image.data() + stride * y);
            for (int y = 0; ok && y < out.height; ++y)
                StoreRow(image.data() + stride * y, h.channels, y, out);
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return ok;
}

// ---- JPEG ----

struct JpegErrors {
    jpeg_error_mgr mgr;
    jmp_buf jump;
    bool truncated;
};

[[noreturn]] void JpegErrorExit(j_common_ptr c) {
    longjmp(reinterpret_cast<JpegErrors*>(c->err)->jump, 1);
}

// Warnings are not printed. Data that ends early is a failure here, where the library would
// fill the rest of the picture with grey.
void JpegMessage(j_common_ptr c, int level) {
    if (level < 0 && (c->err->msg_code == JWRN_JPEG_EOF || c->err->msg_code == JWRN_HIT_MARKER))
        reinterpret_cast<JpegErrors*>(c->err)->truncated = true;
}

// A progressive file may hold any number of scans; past this many it is refused, so that a
// crafted file cannot keep the decoder busy for minutes.
constexpr int kMaxJpegScans = 500;

void JpegProgress(j_common_ptr c) {
    if (c->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(c)->input_scan_number > kMaxJpegScans)
        JpegErrorExit(c);
}

bool JpegReadHeader(jpeg_decompress_struct& cinfo, JpegErrors& errors, const uint8_t* data,
                    size_t size) {
    if (setjmp(errors.jump)) return false;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    return true;
}

bool JpegStart(jpeg_decompress_struct& cinfo, JpegErrors& errors) {
    if (setjmp(errors.jump)) return false;
    bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    return true;
}

bool JpegReadRow(jpeg_decompress_struct& cinfo, JpegErrors& errors, uint8_t* row) {
    if (setjmp(errors.jump)) return false;
    JSAMPROW rows[1] = {row};
    return jpeg_read_scanlines(&cinfo, rows, 1) == 1;
}

bool JpegFinish(jpeg_decompress_struct& cinfo, JpegErrors& errors) {
    if (setjmp(errors.jump)) return false;
    jpeg_finish_decompress(&cinfo);
    return true;
}

// CMYK rows to RGB in place (4 bytes in, 3 out). Adobe's files store the inks inverted.
void CmykToRgb(uint8_t* row, int width, bool inverted) {
    for (int x = 0; x < width; ++x) {
        int c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        row[3 * x] = static_cast<uint8_t>(c * k / 255);
        row[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
        row[3 * x + 2] = static_cast<uint8_t>(y * k / 255);
    }
}

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out) {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors{};
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = JpegErrorExit;
    errors.mgr.emit_message = JpegMessage;
    jpeg_create_decompress(&cinfo);
    // A progressive file keeps all its coefficients in memory (2 bytes each); this covers the
    // largest image within the limits, and nothing crafted gets more.
    cinfo.mem->max_memory_to_use = 160L << 20;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = JpegProgress;
    cinfo.progress = &progress;

    bool ok = JpegReadHeader(cinfo, errors, data, size) &&
              ImageSizeAllowed(cinfo.image_width, cinfo.image_height) && JpegStart(cinfo, errors) &&
              (cinfo.output_components == 3 || cinfo.output_components == 4) &&
              Allocate(out, static_cast<int>(cinfo.output_width),
                       static_cast<int>(cinfo.output_height), false);
    if (ok) {
        bool cmyk = cinfo.out_color_space == JCS_CMYK;
        std::vector<uint8_t> row(static_cast<size_t>(out.width) * cinfo.output_components);
        for (int y = 0; ok && y < out.height; ++y) {
            ok = JpegReadRow(cinfo, errors, row.data()) && !errors.truncated;
            if (!ok) break;
            if (cmyk) CmykToRgb(row.data(), out.width, cinfo.saw_Adobe_marker);
            StoreRow(row.data(), 3, y, out);
        }
        ok = ok && JpegFinish(cinfo, errors) && !errors.truncated;
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

}  // namespace

bool ImageSizeAllowed(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide && w * h <= kMaxImagePixels;
}

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out) {
    out = DecodedImage{};
    bool ok = false;
    if (data && size >= 8 && png_sig_cmp(data, 0, 8) == 0)
        ok = DecodePng(data, size, out);
    else if (data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        ok = DecodeJpeg(data, size, out);
    if (!ok) out = DecodedImage{};
    return ok;
}

}  // namespace zentri
