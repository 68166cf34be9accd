#include "scenes/about_scene.h"

namespace zentri {

void AboutScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(13000), true, Str(5000));
}

}  // namespace zentri
