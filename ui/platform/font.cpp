#include "ui/platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ui/display_metrics.h"

namespace zentri {

// The FreeType library and the font files, shared by every font and released with the last.
// Opening and closing faces goes through its lock (FreeType's rule for a shared library).
class FontLibrary {
  public:
    struct FontFile {
        std::string path;
        int index = 0;
    };

    static std::shared_ptr<FontLibrary> Get() {
        static std::mutex mutex;
        static std::weak_ptr<FontLibrary> current;
        std::lock_guard lock(mutex);
        std::shared_ptr<FontLibrary> library = current.lock();
        if (!library) {
            library = std::shared_ptr<FontLibrary>(new FontLibrary);
            current = library;
        }
        return library;
    }

    ~FontLibrary() {
        if (ft_) FT_Done_FreeType(ft_);
    }

    // A new face of DejaVu Sans, regular or bold; null when none can be opened. `isBold` tells
    // whether the face itself is bold.
    FT_Face OpenFace(bool bold, bool& isBold) {
        std::lock_guard lock(mutex_);
        if (!ft_) return nullptr;
        FontFile& file = bold ? bold_ : regular_;
        if (file.path.empty()) file = Find(bold);
        FT_Face face = nullptr;
        if (file.path.empty() || FT_New_Face(ft_, file.path.c_str(), file.index, &face) != 0)
            return nullptr;
        isBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        return face;
    }

    void CloseFace(FT_Face face) {
        std::lock_guard lock(mutex_);
        FT_Done_Face(face);
    }

  private:
    FontLibrary() {
        if (FT_Init_FreeType(&ft_) != 0) ft_ = nullptr;
    }

    // fontconfig's best match for DejaVu Sans of normal width and upright style; the package's
    // usual location when fontconfig finds nothing.
    static FontFile Find(bool bold) {
        FontFile found;
        if (FcConfig* config = FcInitLoadConfigAndFonts()) {
            FcPattern* pattern = FcPatternCreate();
            FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
            FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
            FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
            FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
            FcConfigSubstitute(config, pattern, FcMatchPattern);
            FcDefaultSubstitute(pattern);
            FcResult result = FcResultNoMatch;
            if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
                FcChar8* path = nullptr;
                int index = 0;
                if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
                    found.path = reinterpret_cast<const char*>(path);
                    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
                        found.index = index;
                }
                FcPatternDestroy(match);
            }
            FcPatternDestroy(pattern);
            FcConfigDestroy(config);
        }
        if (found.path.empty())
            found.path = bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                              : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        return found;
    }

    std::mutex mutex_;
    FT_Library ft_ = nullptr;
    FontFile regular_, bold_;
};

namespace {

// Glyphs kept per font before the cache starts afresh (text in many scripts could otherwise
// grow it without end).
constexpr size_t kMaxCachedGlyphs = 4096;

const Glyph kEmptyGlyph{};

// Taller fonts are made at this height (a glyph's bitmap grows with the square of it).
constexpr int64_t kMaxHeight = 1024;

int RoundDiv(int64_t num, int64_t den) {
    return static_cast<int>(std::llround(static_cast<double>(num) / static_cast<double>(den)));
}

}  // namespace

std::unique_ptr<Font> Font::Create(int weight, int height, bool underline) {
    int64_t h = height < 0 ? -int64_t{height} : height;
    if (h == 0) h = GetDisplayMetrics().baseFontHeight;
    h = std::min<int64_t>(h, kMaxHeight);
    std::unique_ptr<Font> font(new Font(weight, static_cast<int>(h), underline));
    bool bold = weight >= 600, isBold = false;
    font->library_ = FontLibrary::Get();
    font->face_ = font->library_->OpenFace(bold, isBold);
    font->embolden_ = bold && !isBold;
    if (font->face_ && !font->SetSize()) {
        font->library_->CloseFace(font->face_);
        font->face_ = nullptr;
    }
    return font;
}

Font::Font(int weight, int height, bool underline)
    : weight_(weight), height_(height), underline_(underline), ascent_(height * 4 / 5) {}

Font::~Font() {
    if (face_) library_->CloseFace(face_);
}

// Sizes the face so that ascender plus descender make the line height, and derives the metrics.
bool Font::SetSize() {
    FT_Face face = face_;
    int asc = face->ascender, desc = -face->descender;  // font units, desc positive below
    int units = face->units_per_EM;
    if (!FT_IS_SCALABLE(face) || units <= 0 || asc <= 0 || asc + desc <= 0) {
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(height_)) != 0) return false;
        return true;
    }
    FT_F26Dot6 em = std::max<FT_F26Dot6>(64, RoundDiv(int64_t{height_} * 64 * units, asc + desc));
    if (FT_Set_Char_Size(face, 0, em, 72, 72) != 0) return false;
    ascent_ = RoundDiv(int64_t{height_} * asc, asc + desc);
    double scale = static_cast<double>(em) / 64.0 / units;  // pixels per font unit
    underlineThickness_ =
        std::max(1, static_cast<int>(std::lround(face->underline_thickness * scale)));
    int centre = static_cast<int>(std::lround(-face->underline_position * scale));
    underlineOffset_ = std::max(1, centre - underlineThickness_ / 2);
    int descent = height_ - ascent_;
    if (underlineOffset_ + underlineThickness_ > descent)
        underlineOffset_ = std::max(0, descent - underlineThickness_);
    return true;
}

const Glyph& Font::Lookup(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return kEmptyGlyph;
    if (c >= latin_.size()) {
        auto it = others_.find(c);
        if (it != others_.end()) return *it->second;
    }
    if (store_.size() >= kMaxCachedGlyphs) {
        latin_.fill(nullptr);
        others_.clear();
        store_.clear();
    }
    Glyph& glyph = store_.emplace_back();
    Render(c, glyph);
    if (c < latin_.size())
        latin_[c] = &glyph;
    else
        others_[c] = &glyph;
    return glyph;
}

// Light hinting (vertical only) keeps the shapes and gives whole-pixel advances; the coverage is
// FreeType's 8-bit anti-aliased rendering.
void Font::Render(char32_t c, Glyph& glyph) {
    if (!face_) return;
    FT_UInt index = FT_Get_Char_Index(face_, c);
    if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_LIGHT) != 0) return;
    FT_GlyphSlot slot = face_->glyph;
    if (embolden_) FT_GlyphSlot_Embolden(slot);
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_LIGHT) != 0) return;
    const FT_Bitmap& bitmap = slot->bitmap;
    bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    if (!gray && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.stride = (glyph.width + 15) & ~15;
    glyph.coverage.assign(static_cast<size_t>(glyph.stride) * glyph.height, 0);
    for (int y = 0; y < glyph.height; ++y) {
        const uint8_t* src = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        uint8_t* dst = &glyph.coverage[static_cast<size_t>(y) * glyph.stride];
        for (int x = 0; x < glyph.width; ++x)
            dst[x] = gray ? src[x] : ((src[x >> 3] >> (7 - (x & 7))) & 1) * 255;
    }
}

}  // namespace zentri
