// Feeds arbitrary files to the localization loader, then looks texts up in every language.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "app/localization.h"
#include "fuzz/fuzz_device.h"
#include "platform/paths.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zentri::fuzz::UseTemporaryDevice();
    const char* path = "\\Program Files\\Zentri\\localization.xml";
    std::filesystem::path host = platform::HostPath(path);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    zentri::Localization& l = zentri::Localization::Instance();
    l.Load(platform::Utf8ToUtf16(path));
    for (const auto& [name, language] : l.Languages()) {
        if (!l.SetLanguage(name)) abort();  // every listed language can be chosen
        l.Get(14);
        l.Get(99999);
    }
    return 0;
}
