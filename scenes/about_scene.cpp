#include "scenes/about_scene.h"

namespace zentri {

void AboutScene::Build(GObjectPtr& page) {
    AddHeader(page, Str(13000), true, Str(5000));
    GObjectPtr content = CreateContent(page);
    std::vector<TableLayout::Cell> cells;
    auto cell = [&](int row, double share, int height) {
        cells.push_back(TableLayout::Cell{row, 0, share, height});
    };

    AddLabel(content, Str(13001), true)->SetFont(600, 5 * U() / 4);
    cell(0, 1.0, 1);

    // The icon's cell is a sliver; the draw margins let the picture spill over beside the text.
    shared_ptr<SceneImage> icon(new SceneImage);
    icon->AddImage(0, u"icon.png");
    icon->ShowImage(0);
    icon->SetDrawMargins(0, 0, 100, 100);
    icon->SetTouchable(false);
    content->AddChild(icon);
    cell(1, 0.01, 2);
    AddText(content, Str(13002))->SetFormat(TextFormat::Center);
    cell(1, 1.0, 2);

    AddLink(content, Str(13003), Str(13003), true);
    cell(3, 0.7, 1);
    AddLabel(content, Str(13004), true);
    cell(5, 0.7, 1);
    AddLink(content, Str(13005), Str(13005), true);
    cell(6, 0.7, 1);
    shared_ptr<SceneLabel> thanks = AddText(content, Str(13006));
    thanks->SetFormat(TextFormat::Center);
    thanks->SetTextColor(Color{120, 120, 120});
    cell(7, 1.0, 2);

    FinishTable(content, cells);
}

}  // namespace zentri
