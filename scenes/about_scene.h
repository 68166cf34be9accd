#pragma once
// The program's name, icon and a few words about it, with links to its pages on the web.

#include "scenes/scene.h"

namespace zentri {

class AboutScene : public Scene {
  public:
    void Build(GObjectPtr& page) override;
};

}  // namespace zentri
