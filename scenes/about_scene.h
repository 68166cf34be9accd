#pragma once
// Placeholder until the scene is written: a page with its header only.

#include "scenes/scene.h"

namespace zentri {

class AboutScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
};

}  // namespace zentri
