#pragma once
// A font of the platform's font engine: a FreeType face of DejaVu Sans (found with fontconfig;
// the bold face for weights from 600) at one pixel height, its metrics, and a cache of its
// rendered glyphs. Fonts are made and owned by FontManager; everyone else holds plain pointers.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

namespace zentri {

class FontLibrary;

// One rendered glyph: 8-bit coverage (0 nothing .. 255 full), each row padded with zeros to a
// multiple of 16 bytes so that rows can be blended in whole blocks.
struct Glyph {
    int left = 0;     // from the pen position to the first column
    int top = 0;      // from the baseline up to the first row
    int width = 0;    // columns with ink (the padding excluded)
    int height = 0;   // rows
    int stride = 0;   // bytes per coverage row
    int advance = 0;  // whole pixels from this pen position to the next
    std::vector<uint8_t> coverage;
};

class Font {
  public:
    // `height` is the line height in pixels (ascent plus descent); its absolute value is used,
    // 0 meaning the base font height, at most 1024. A font whose face cannot be found or opened
    // measures every character 0 wide and draws nothing.
    static std::unique_ptr<Font> Create(int weight, int height, bool underline);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int Weight() const { return weight_; }
    bool Underline() const { return underline_; }
    bool HasFace() const { return face_ != nullptr; }
    // Line height, and the baseline's distance from the top of a line; both from the face's
    // ascender and descender scaled so that they add up to the height.
    int Height() const { return height_; }
    int Ascent() const { return ascent_; }
    // The underline: its first row below the baseline, and its thickness (at least 1).
    int UnderlineOffset() const { return underlineOffset_; }
    int UnderlineThickness() const { return underlineThickness_; }

    // The glyphs are reached only through this object, which holds the font's lock for its
    // lifetime: drawing or measuring from two threads never races on the cache or the face.
    // Take one per text operation, not one per character (nesting them is allowed).
    class Glyphs {
      public:
        explicit Glyphs(Font& font) : font_(font), lock_(font.mutex_) {}
        // The glyph of a code point; control characters are empty and 0 wide. The reference
        // is valid until the next Get.
        const Glyph& Get(char32_t c) {
            if (c < font_.latin_.size() && font_.latin_[c]) return *font_.latin_[c];
            return font_.Lookup(c);
        }
        int Advance(char32_t c) { return Get(c).advance; }

      private:
        Font& font_;
        std::lock_guard<std::recursive_mutex> lock_;
    };

  private:
    Font(int weight, int height, bool underline);
    bool SetSize();
    const Glyph& Lookup(char32_t c);
    void Render(char32_t c, Glyph& glyph);

    int weight_;
    int height_;
    bool underline_;
    int ascent_ = 0;
    int underlineOffset_ = 0;
    int underlineThickness_ = 1;
    bool embolden_ = false;  // bold asked for but only a regular face found

    std::shared_ptr<FontLibrary> library_;
    FT_FaceRec_* face_ = nullptr;
    std::recursive_mutex mutex_;  // re-entrant: a caller holding Glyphs may measure again
    // Latin-1 glyphs by code point; everything else by map. The store owns them all.
    std::array<const Glyph*, 256> latin_{};
    std::unordered_map<char32_t, const Glyph*> others_;
    std::deque<Glyph> store_;
};

}  // namespace zentri
