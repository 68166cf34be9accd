#include "scenes/my_apps_scene.h"

namespace zentri {

void MyAppsScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(5004), true, Str(5000));
}

}  // namespace zentri
