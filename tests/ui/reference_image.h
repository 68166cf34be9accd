#pragma once
// Compares a rendering with a reference PNG kept in the source tree. The rendering is left at
// `out` for a look; ZENTRI_UPDATE_REFERENCE=1 writes it over the reference instead. Small
// differences (another FreeType's anti-aliasing) pass; a moved or missing element does not.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "ui/platform/png_writer.h"
#include "ui/platform/wm_surface.h"

namespace zentri::test {

inline void ExpectMatchesReference(const Surface& rendered, const std::filesystem::path& reference,
                                   const std::filesystem::path& out) {
    std::filesystem::create_directories(out.parent_path());
    ASSERT_TRUE(SavePng(rendered, out));
    if (const char* update = std::getenv("ZENTRI_UPDATE_REFERENCE"); update && *update == '1') {
        ASSERT_TRUE(SavePng(rendered, reference));
        GTEST_SKIP() << "reference written to " << reference;
    }
    std::ifstream in(reference, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    WMSurface expected;
    ASSERT_TRUE(expected.LoadBuffer(bytes.data(), bytes.size())) << reference;
    ASSERT_EQ(expected.width, rendered.width);
    ASSERT_EQ(expected.height, rendered.height);
    int far = 0;
    double total = 0;
    for (size_t i = 0; i < rendered.pixels.size(); ++i) {
        Color a = From565(rendered.pixels[i]), b = From565(expected.pixels[i]);
        int d = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
        total += d;
        far += d > 48;
    }
    double share = static_cast<double>(far) / rendered.pixels.size();
    EXPECT_LT(share, 0.003) << far << " pixels differ clearly; see " << out;
    EXPECT_LT(total / rendered.pixels.size(), 1.5) << "see " << out;
}

}  // namespace zentri::test
