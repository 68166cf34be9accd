#pragma once
// Shared by the tests of the application pages: the program's own texts on a fresh device and
// a session with an id. The popup boxes are recorded by the catalogue tests' RecordingApp.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/kestro.h"
#include "app/localization.h"
#include "tests/scenes/catalogue_scene_fixture.h"
#include "tests/support/temp_device.h"

namespace zentri::test {

inline void LoadProgramTexts(const TempDevice& device) {
    std::ifstream in(SourceDir() / "resources" / "localization.xml", std::ios::binary);
    device.WriteFile("\\Program Files\\Zentri\\localization.xml",
                     std::string(std::istreambuf_iterator<char>(in), {}));
    Localization::Instance().Load(u"\\Program Files\\Zentri\\localization.xml");
    Kestro::Instance().SetSessionId(u"s1");
}

inline std::u16string Text(int id) {
    return Localization::Instance().Get(id);
}

}  // namespace zentri::test
