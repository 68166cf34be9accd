#include "scenes/app_details_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "manager/app_manager.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "platform/text.h"
#include "scenes/add_app_row.h"
#include "scenes/app_actions.h"
#include "scenes/app_detail_layout.h"
#include "scenes/apps_scene.h"
#include "scenes/make_review_scene.h"
#include "scenes/review_text.h"
#include "scenes/reviews_scene.h"
#include "scenes/screenshots_scene.h"
#include "ui/font_manager.h"
#include "widgets/image.h"
#include "widgets/list_layout.h"
#include "widgets/remote_image.h"
#include "widgets/star_rating.h"

namespace zentri {

namespace {

using Icon = TRemoteImage<TImage<GObject>>;
using Parts = AppDetailLayout;

constexpr Color kGrey{120, 120, 120};

std::u16string Number(long value) {
    return platform::Utf8ToUtf16(std::to_string(value));
}

}  // namespace

AppDetailsScene::AppDetailsScene(shared_ptr<zentri::App> listed, std::u16string crumb)
    : crumb(std::move(crumb)) {
    if (!listed) return;
    appName = listed->name;
    appId = listed->id;
}

bool AppDetailsScene::NeedsRebuild(int reason) {
    (void)reason;
    return true;
}

std::u16string AppDetailsScene::CrumbFromSceneBelow() const {
    const auto& stack = App().SceneStack();
    for (size_t i = stack.size(); i-- > 1;) {
        if (stack[i].get() != this) continue;
        const GObjectPtr& below = stack[i - 1]->Page();
        GObjectPtr header, title;
        if (!below || !below->FindChild(kHeaderId, header) || !header->FindChild(kTitleId, title))
            return {};
        return std::u16string(title->AutomationText());
    }
    return {};
}

void AppDetailsScene::Build(GObjectPtr& page) {
    if (crumb.empty()) crumb = CrumbFromSceneBelow();
    content = CreateContent(page);
    AddHeader(page, appName, true, crumb);
    App().SetBusy(false);
    detailsRequest = api::Send(api::AppDetailsUrl(Kestro::Instance().GetSessionId(), appId));
    if (!detailsRequest) {
        App().SetBusy(true);
        return;
    }
    detailsRequest->Completion().Add(this, &AppDetailsScene::DetailsDone);
    Track(detailsRequest);
}

void AppDetailsScene::DetailsDone(HttpRequest* request, bool ok) {
    if (request != detailsRequest.get()) return;  // an answer for a page built before
    App().SetBusy(true);
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    shared_ptr<zentri::App> answer(new zentri::App);
    AppDescription description;
    const int32_t code =
        XMLResponse_AppDetails(*answer, &description).Parse(request->Body(), request->Size());
    if (ShowMessageIfError(code) != kResultOk) return;
    app = answer;
    details = std::move(description);
    BuildContent();
}

void AppDetailsScene::BuildContent() {
    content->RemoveAllChildren();
    Font* bold = FontManager::Instance().GetFont(600, 5 * U() / 4, false);
    auto caption = [&](int textId, int id) {
        auto label = AddLabel(content, Str(textId), false);
        label->SetFont(bold);
        label->SetId(id);
        return label;
    };

    shared_ptr<Icon> icon(new Icon);
    icon->SetImageAlign(HAlign::Center, VAlign::Center);
    icon->SetTouchable(false);
    if (app->icon.empty()) {
        icon->AddImage(0, u"deficon.png");
        icon->ShowImage(0);
    } else {
        icon->SetUrl(app->icon);
    }
    content->AddChild(icon, Parts::kIcon);

    caption(8008, Parts::kVersionCaption);
    auto version = AddLabel(content, app->version, false);
    version->SetFont(bold);
    version->SetId(Parts::kVersion);

    caption(8000, Parts::kDeveloperCaption);
    auto developer = AddButton(content, app->com);
    developer->SetId(Parts::kDeveloper);
    OnTap(developer, [this] { OpenDeveloperList(); });

    auto descriptionCaption = caption(8001, Parts::kDescriptionCaption);
    descriptionCaption->SetFormat(TextFormat::Top);
    AddText(content, details.desc)->SetId(Parts::kDescription);

    AddActions();
    AddTags();
    AddRating();

    auto screenshots = AddButton(
        content, Str(8004) + u"(" + Number(static_cast<long>(details.pictures.size())) + u")");
    screenshots->SetId(Parts::kScreenshots);
    OnTap(screenshots, [this] { App().PushNew<ScreenshotsScene>(appName, details.pictures); });
    auto reviews = AddButton(content, Str(8005) + u"(" + Number(app->reviews) + u")");
    reviews->SetId(Parts::kReviews);
    OnTap(reviews, [this] { App().PushNew<ReviewsScene>(appName, appId); });
    auto rate = AddButton(content, Str(8006));
    rate->SetId(Parts::kRate);
    OnTap(rate, [this] { App().PushNew<MakeReviewScene>(appName, appId); });

    const int starsWidth = app->rates > 0 ? 5 * (3 * U() / 2) : 0;
    content->SetLayout(shared_ptr<Layout>(new Parts(starsWidth, 3 * U() / 2, U())));
}

void AppDetailsScene::AddActions() {
    const DetailActions actions = ActionsFor(StateOnDevice(*app), *app);
    auto action = [this](int textId, int id, void (AppDetailsScene::*what)()) {
        auto button = AddButton(content, Str(textId));
        button->SetId(id);
        OnTap(button, [this, what] { (this->*what)(); });
    };
    if (actions.run) action(11000, Parts::kFirstAction, &AppDetailsScene::Run);
    if (actions.uninstall) action(11002, Parts::kUninstall, &AppDetailsScene::Uninstall);
    if (actions.update) action(11001, Parts::kUpdate, &AppDetailsScene::Update);
    if (actions.install) action(8007, Parts::kFirstAction, &AppDetailsScene::Install);
}

void AppDetailsScene::AddTags() {
    if (details.tags.empty()) return;
    auto caption = AddLabel(content, Str(8002), false);
    caption->SetFont(600, 5 * U() / 4);
    caption->SetId(Parts::kTagsCaption);
    GObjectPtr list = MakeShared<GObject>();
    for (const std::u16string& tag : details.tags) {
        auto item = AddListItem(list);
        FillListItem(item, tag, u"", u"more_arrow.png");
        OnTap(item, [this, tag] { OpenTagList(tag); });
    }
    list->SetLayout(shared_ptr<Layout>(new ListLayout(3 * U(), 0)));
    content->AddChild(list, Parts::kTags);
}

void AppDetailsScene::AddRating() {
    Font* bold = FontManager::Instance().GetFont(600, 5 * U() / 4, false);
    auto caption = AddLabel(content, Str(8003), false);
    caption->SetFont(bold);
    caption->SetId(Parts::kRatingCaption);
    const bool voted = app->rates > 0;
    auto votes = AddLabel(content, voted ? u"(" + Number(app->rates) + u")" : Str(7000), false);
    votes->SetFont(bold);
    votes->SetTextColor(kGrey);
    votes->SetId(Parts::kVotes);
    if (!voted) return;
    StarRating stars;  // read-only stars keep no handler on the rating object
    GObjectPtr shown = stars.Create(HalfStars(app->rate), true);
    shown->SetTouchable(false);
    content->AddChild(shown, Parts::kStars);
}

void AppDetailsScene::Run() {
    AppManager::Instance().Run(app->sysid, app->exe);
}

void AppDetailsScene::Install() {
    shared_ptr<zentri::App> target = app;
    Confirm(App(), InstallQuestion(*target), [target] {
        AppManager::Instance().DownloadNew(target);
        Kestro::Instance().app->OpenMyApps();
    });
}

void AppDetailsScene::Update() {
    shared_ptr<zentri::App> catalogue = app;
    const int32_t installedRevision = AppManager::Instance().GetInstalledRevision(app->sysid);
    Confirm(App(), UpdateQuestion(*catalogue, installedRevision), [catalogue] {
        // The installed record is the one My apps follows; it takes the catalogue's revision.
        shared_ptr<zentri::App> installed = InstalledRecord(catalogue->sysid);
        if (!installed) return;
        AdoptCatalogueFields(*installed, *catalogue);
        AppManager::Instance().Update(installed);
        Kestro::Instance().app->OpenMyApps();
    });
}

void AppDetailsScene::Uninstall() {
    shared_ptr<zentri::App> catalogue = app;
    Confirm(App(), UninstallQuestion(*catalogue), [catalogue] {
        shared_ptr<zentri::App> installed = InstalledRecord(catalogue->sysid);
        if (!installed) return;
        installed->Uninstall();
        Kestro::Instance().app->OpenMyApps();
    });
}

// The developer's other applications: a search of the developer field, fetched whole.
void AppDetailsScene::OpenDeveloperList() {
    App().PushScene(shared_ptr<Scene>(
        new AppsScene(app->com, appName, nullptr, app->com, u"com", u"", -1, -1, false)));
}

// The applications that carry the tag.
void AppDetailsScene::OpenTagList(const std::u16string& tag) {
    App().PushScene(
        shared_ptr<Scene>(new AppsScene(tag, appName, nullptr, u"", u"", tag, -1, -1, false)));
}

}  // namespace zentri
