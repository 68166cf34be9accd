#include "ui/display_metrics.h"

#include "platform/device_info.h"

namespace zentri {

DisplayMetrics DisplayMetricsForDpi(int dpi) {
    platform::DeviceInfo info;
    info.dpi = dpi;
    return DisplayMetrics{dpi, info.SystemFontHeight(), info.IconWidth()};
}

const DisplayMetrics& GetDisplayMetrics() {
    static const DisplayMetrics metrics = DisplayMetricsForDpi(platform::LoadDeviceInfo().dpi);
    return metrics;
}

}  // namespace zentri
