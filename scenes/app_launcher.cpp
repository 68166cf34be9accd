#include "scenes/app_launcher.h"

#include "platform/shell_open.h"
#include "platform/text.h"
#include "ui/touch.h"

namespace zentri {

void AppLauncher::Invoke(GObjectPtr& node, const Touch& touch) {
    (void)node;
    if (touch.type != Touch::kClick) return;
    // The opener runs in the background; the shell reports no error to the user.
    platform::ShellOpen(platform::Utf16ToUtf8(address));
}

}  // namespace zentri
