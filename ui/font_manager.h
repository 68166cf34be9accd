#pragma once
// The fonts of the program, made once per key (weight, height, underline) and kept until exit.
// The first entry is the system font: weight 400 at the base font height of the display
// metrics. Font handles are plain pointers owned here.

#include <memory>
#include <mutex>
#include <vector>

#include "ui/platform/font.h"
#include "ui/singleton.h"

namespace zentri {

class FontManager : public Singleton<FontManager> {
  public:
    // The font of the first entry with this weight, |height| and underline; otherwise a new
    // font, appended. A negative height never matches (its entry stores the absolute value), so
    // it makes a new font on every call.
    Font* GetFont(int weight, int height, bool underline);
    // The system font (the first entry).
    Font* SystemFont();

  private:
    friend class Singleton<FontManager>;
    FontManager();

    struct Entry {
        int weight;
        int height;  // absolute value
        bool underline;
        std::unique_ptr<Font> font;
    };
    std::mutex mutex_;  // for tests that draw from two threads; the program uses one
    std::vector<Entry> entries_;
};

}  // namespace zentri
