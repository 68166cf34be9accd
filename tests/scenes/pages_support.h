#pragma once
// Shared by the tests of the application pages: the program's own texts by id. The texts are
// loaded, and the popup boxes recorded, as in the catalogue tests' fixture.

#include <string>

#include "app/localization.h"
#include "tests/scenes/catalogue_scene_fixture.h"

namespace zentri::test {

inline std::u16string Text(int id) {
    return Localization::Instance().Get(id);
}

}  // namespace zentri::test
