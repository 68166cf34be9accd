#pragma once
// The home of the client: top list, catalogue, search, my apps (with the count of available
// updates) and settings; About on the left soft key, exit on the right. Before the catalogue
// is used it tells the service the device profile ("config").

#include "scenes/scene.h"

namespace zentri {

class MainMenuScene : public Scene {
  public:
    // Badge over the My apps row.
    static constexpr int kBubbleId = 7003;

    ~MainMenuScene() override;
    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnLeftSoftKey() override;
    void OnRightSoftKey() override;
    // Forgets the catalogue and sends the configuration again on the next activation.
    void RequestConfigRefresh();

  private:
    void ConfigDone(HttpRequest* request, bool ok);
    void UpdatesChanged();

    shared_ptr<HttpRequest> configRequest;
    shared_ptr<TLabel<TImage<GObject>>> updatesBubble;
    bool subscribed = false;
};

}  // namespace zentri
