#include "scenes/choose_tags_scene.h"

#include <algorithm>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response_tags.h"
#include "platform/text.h"
#include "scenes/search_scene.h"
#include "widgets/list_layout.h"
#include "widgets/switch.h"
#include "widgets/switch_item_layout.h"

namespace zentri {

void ChooseTagsScene::Build(GObjectPtr& page) {
    content = CreateContent(page);
    content->SetLayout(shared_ptr<Layout>(new ListLayout(4 * U(), 0)));
    AddHeader(page, Str(9014), true, Str(9000));
    tagSwitches.clear();
    if (!Kestro::Instance().tagList.empty()) {
        BuildRows();
        return;
    }
    tagsRequest = api::Send(api::TagsUrl(Kestro::Instance().GetSessionId()));
    if (!tagsRequest) return;
    tagsRequest->Completion().Add(this, &ChooseTagsScene::TagsDone);
    Track(tagsRequest);
}

void ChooseTagsScene::TagsDone(HttpRequest* request, bool ok) {
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    std::vector<Tag>& tags = Kestro::Instance().tagList;
    const int32_t code = XMLResponse_Tags(tags).Parse(request->Body(), request->Size());
    if (code != kResultOk) {
        // A list cut short by a bad answer would be taken as loaded by every later visit.
        tags.clear();
        ShowMessage(code);
        return;
    }
    BuildRows();
}

void ChooseTagsScene::BuildRows() {
    const std::vector<Tag>& selected = search->SelectedTags();
    shared_ptr<Layout> layout = content->GetLayout();
    layout->Suspend();
    for (const Tag& tag : Kestro::Instance().tagList) {
        shared_ptr<SceneListItem> item = AddListItem(content);
        AddLabel(item, tag.name + u"(" + platform::Utf8ToUtf16(std::to_string(tag.weight)) + u")",
                 false)
            ->SetId(SwitchItemLayout::kText);
        shared_ptr<Switch> toggle(new Switch);
        GObjectPtr container = toggle->Create(nullptr, Str(1), Str(2), SwitchItemLayout::kSwitch);
        container->SetFocusable(std::any_of(selected.begin(), selected.end(),
                                            [&](const Tag& t) { return t.name == tag.name; }));
        item->AddChild(container, SwitchItemLayout::kSwitch);
        item->SetLayout(shared_ptr<Layout>(new SwitchItemLayout(U() / 2)));
        // A tap anywhere on the row flips the switch (the switch itself takes its own taps).
        GObject* target = container.get();
        OnTap(item, [target] { target->SetFocusable(!Switch::IsOn(*target)); });
        tagSwitches.push_back(container);
    }
    layout->Resume();
}

void ChooseTagsScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), Str(13));
}

void ChooseTagsScene::OnRightSoftKey() {
    const std::vector<Tag>& tags = Kestro::Instance().tagList;
    std::vector<Tag> chosen;
    for (size_t i = 0; i < tagSwitches.size() && i < tags.size(); ++i)
        if (Switch::IsOn(*tagSwitches[i])) chosen.push_back(tags[i]);
    search->SetSelectedTags(std::move(chosen));
    search->Refresh();
    App().GoBack();
}

}  // namespace zentri
