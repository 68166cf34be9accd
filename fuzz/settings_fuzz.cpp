// Feeds arbitrary files to the settings reader. Whatever it accepts must survive being saved
// and read again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/kestro.h"
#include "app/settings_file.h"
#include "fuzz/fuzz_device.h"
#include "platform/paths.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zentri::fuzz::UseTemporaryDevice();
    const char* path = "\\Program Files\\Zentri\\settings.dat";
    std::filesystem::path host = platform::HostPath(path);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    zentri::Kestro& k = zentri::Kestro::Instance();
    k.firstStart = false;
    k.LoadSettings(platform::Utf8ToUtf16(path));
    bool valid = size >= 864 && data[0] == 0x60 && data[1] == 0x03 && data[2] == 0 && data[3] == 0;
    if (k.firstStart == valid) abort();
    if (valid) {
        k.SaveSettings(platform::Utf8ToUtf16(path));
        auto again = zentri::ReadSettingsFile(platform::Utf8ToUtf16(path));
        if (!again || again->login != k.savedLogin.substr(0, 99) ||
            again->sortOrder != k.GetSortOrder().substr(0, 99))
            abort();
    }
    return 0;
}
