#pragma once
// The display metrics that every interface size derives from, read once from the device
// description: the screen's pixels per logical inch, the base font height U (the pixel height
// of the system font, 13 at 96 dpi) and the system icon width (32 at 96 dpi).

namespace zentri {

struct DisplayMetrics {
    int dpi = 96;
    int baseFontHeight = 13;
    int iconWidth = 32;
};

// Read from the device description on the first call; the same values for the rest of the run.
const DisplayMetrics& GetDisplayMetrics();

// The metrics of a given dpi (what GetDisplayMetrics derives from the device's dpi).
DisplayMetrics DisplayMetricsForDpi(int dpi);

}  // namespace zentri
