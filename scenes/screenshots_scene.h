#pragma once
// The screenshots of one application, each under its numbered caption, fetched from the
// catalogue as they come into view.

#include <string>
#include <vector>

#include "scenes/scene.h"

namespace zentri {

class ScreenshotsScene : public Scene {
  public:
    ScreenshotsScene(std::u16string appName, std::vector<std::u16string> screenshots);

    // The page is filled when the scene first comes on top.
    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;

  private:
    void Fill(const GObjectPtr& page);

    std::u16string appName;
    std::vector<std::u16string> screenshots;  // picture addresses
};

}  // namespace zentri
