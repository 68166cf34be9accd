#include "scenes/settings_scene.h"

namespace zentri {

void SettingsScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(3000), true, Str(firstStart ? 1000 : 5000));
}

}  // namespace zentri
