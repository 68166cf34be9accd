#include "ui/font_manager.h"

#include <climits>
#include <cstdlib>

#include "ui/display_metrics.h"

namespace zentri {

FontManager::FontManager() {
    int height = GetDisplayMetrics().baseFontHeight;
    entries_.push_back({400, height, false, Font::Create(400, height, false)});
}

Font* FontManager::GetFont(int weight, int height, bool underline) {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
        if (e.weight == weight && e.height == height && e.underline == underline)
            return e.font.get();
    int absHeight = height == INT_MIN ? INT_MAX : std::abs(height);
    entries_.push_back({weight, absHeight, underline, Font::Create(weight, height, underline)});
    return entries_.back().font.get();
}

Font* FontManager::SystemFont() {
    std::lock_guard lock(mutex_);
    return entries_.front().font.get();
}

}  // namespace zentri
