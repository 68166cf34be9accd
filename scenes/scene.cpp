#include "scenes/scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "net/http_request.h"
#include "scenes/app_launcher.h"
#include "scenes/scene_layout.h"
#include "ui/display_metrics.h"
#include "ui/font_manager.h"
#include "ui/touch.h"
#include "widgets/horizont_radio_layout.h"
#include "widgets/list_layout.h"
#include "widgets/simple_header_layout.h"
#include "widgets/single_layout.h"
#include "widgets/tree_item_layout.h"
#include "widgets/vscroll.h"

namespace zentri {

namespace {

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kCrumb{200, 200, 200};

using Content = TVScroll<GObject>;

// A background picture that fills its node.
template <class T>
void SetBackground(T& node, int state, const std::u16string& image) {
    node.SetStretch(true);
    node.AddImage(state, image);
}

// Adds `child` at `position` among the parent's children; -1 (or past the end) is last.
void Insert(const GObjectPtr& parent, const GObjectPtr& child, int position) {
    std::vector<GObjectPtr> after;
    if (position >= 0) {
        while (parent->ChildCount() > static_cast<size_t>(position)) {
            after.insert(after.begin(), parent->ChildAt(parent->ChildCount() - 1));
            parent->RemoveChildAt(parent->ChildCount() - 1);
        }
    }
    parent->AddChild(child);
    for (const GObjectPtr& node : after)
        parent->AddChild(node);  // ids are kept
}

std::u16string WithLineBreaks(const std::u16string& text) {
    static const std::u16string marker = u"--br--";
    std::u16string out;
    size_t from = 0;
    for (size_t at = text.find(marker); at != std::u16string::npos; at = text.find(marker, from)) {
        out.append(text, from, at - from).push_back(u'\n');
        from = at + marker.size();
    }
    return out.append(text, from, std::u16string::npos);
}

}  // namespace

Scene::Scene() = default;

Scene::~Scene() {
    // A request still running must not call back into a scene that is gone.
    for (const shared_ptr<HttpRequest>& request : requests) {
        if (!request->IsPending()) continue;
        request->Completion().Clear();
        request->Progress().Clear();
        request->Cancel();
    }
}

KestroApp& Scene::App() const {
    return *Kestro::Instance().app;
}

int Scene::U() {
    return GetDisplayMetrics().baseFontHeight;
}

std::u16string Scene::Str(int id) {
    return Localization::Instance().Get(id);
}

void Scene::Track(const shared_ptr<HttpRequest>& request) {
    if (!request) return;
    // Finished requests need not be remembered any more.
    std::erase_if(requests, [](const shared_ptr<HttpRequest>& r) { return !r->IsPending(); });
    requests.push_back(request);
}

void Scene::OnTap(const GObjectPtr& node, std::function<void()> handler) {
    node->OnTouch().Add([handler = std::move(handler)](GObjectPtr&, const Touch& touch) {
        if (touch.type == Touch::kClick) handler();
    });
}

void Scene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), u"");
}

void Scene::OnLeftSoftKey() {
    App().GoBack();
}

void Scene::OnChoose(int index) {
    (void)index;
    App().GoBack();
}

void Scene::Rebuild() {
    if (!page) return;
    page->RemoveAllChildren();
    shared_ptr<Layout> layout(new SceneLayout(3 * U()));
    page->SetLayout(layout);
    layout->Suspend();
    Build(page);
    layout->Resume();
}

GObjectPtr Scene::AddHeader(const GObjectPtr& page, const std::u16string& title, bool withCrumb,
                            const std::u16string& crumbText) {
    shared_ptr<SceneImage> header(new SceneImage);
    SetBackground(*header, 0, u"app_bar.png");
    header->ShowImage(0);
    const int size = U() + U() / 12;
    Font* font = FontManager::Instance().GetFont(600, size, false);

    int crumbWidth = 0, separatorWidth = 0;
    if (withCrumb) {
        shared_ptr<SceneLink> crumb(new SceneLink);
        crumb->SetFont(font);
        crumb->SetText(crumbText);
        crumb->SetFormat(TextFormat::VCenter);
        crumb->SetNormalColor(kCrumb);
        crumb->SetPressedColor(kWhite);
        crumb->SetTextColor(kCrumb);
        OnTap(crumb, [] { Kestro::Instance().app->GoBack(); });
        header->AddChild(crumb, kCrumbId);
        crumbWidth = crumb->TextWidth();

        shared_ptr<SceneLabel> separator(new SceneLabel);
        separator->SetFont(font);
        separator->SetText(u" / ");
        separator->SetFormat(TextFormat::VCenter);
        separator->SetTextColor(kCrumb);
        separator->SetTouchable(false);
        header->AddChild(separator, kSeparatorId);
        separatorWidth = separator->TextWidth();
    }

    shared_ptr<SceneLabel> titleLabel(new SceneLabel);
    titleLabel->SetFont(font);
    titleLabel->SetText(title);
    titleLabel->SetTextColor(kWhite);
    titleLabel->SetFormat(TextFormat::VCenter | (crumbText.empty() ? TextFormat::Center : 0));
    titleLabel->SetTouchable(false);
    header->AddChild(titleLabel, kTitleId);

    // The home icon only while its scene is still on the stack (after a rejected session the
    // main menu is gone; its icon would lead nowhere).
    KestroApp& app = App();
    if (app.homeScene && app.OnStack(app.homeScene)) {
        shared_ptr<SceneHomeIcon> home(new SceneHomeIcon);
        SetBackground(*home, 0, u"icon_home.png");
        home->ShowImage(0);
        OnTap(home, [] { Kestro::Instance().app->PopToHome(); });
        header->AddChild(home, kHomeId);
    }

    header->SetLayout(shared_ptr<Layout>(
        new SimpleHeaderLayout(titleLabel->TextWidth(), crumbWidth, U() / 3, separatorWidth)));
    page->AddChild(header, kHeaderId);
    return header;
}

GObjectPtr Scene::CreateContent(const GObjectPtr& page) {
    shared_ptr<Content> scroll(new Content);
    scroll->Bar().SetBarColor(Color{120, 120, 120});
    page->AddChild(scroll, kContentId);
    return CountedRef<GObject>(&scroll->Content());
}

shared_ptr<SceneLabel> Scene::AddLabel(const GObjectPtr& parent, const std::u16string& text,
                                       bool centred, int position) {
    shared_ptr<SceneLabel> label(new SceneLabel);
    label->SetText(text);
    label->SetTextColor(kBlack);
    label->SetFormat(TextFormat::VCenter | (centred ? TextFormat::Center : 0));
    label->SetTouchable(false);
    Insert(parent, label, position);
    return label;
}

shared_ptr<SceneLabel> Scene::AddText(const GObjectPtr& parent, const std::u16string& text,
                                      int position) {
    shared_ptr<SceneLabel> label(new SceneLabel);
    label->SetMultiLine(true);
    label->SetText(WithLineBreaks(text));
    label->SetTextColor(kBlack);
    label->SetTouchable(false);
    Insert(parent, label, position);
    return label;
}

shared_ptr<SceneLink> Scene::AddLink(const GObjectPtr& parent, const std::u16string& text,
                                     const std::u16string& address, bool centred) {
    shared_ptr<SceneLink> link(new SceneLink);
    link->SetText(text);
    link->SetFormat(TextFormat::VCenter | (centred ? TextFormat::Center : 0));
    link->SetNormalColor(Color{0, 0, 170});
    link->SetPressedColor(Color{173, 0, 0});
    link->SetTextColor(Color{0, 0, 170});
    link->OnTouch().Add(shared_ptr<Delegate<GObjectPtr&, const Touch&>>(new AppLauncher(address)));
    parent->AddChild(link);
    return link;
}

shared_ptr<SceneEdit> Scene::AddEdit(const GObjectPtr& parent, const std::u16string& text,
                                     bool centred, int position) {
    shared_ptr<SceneEdit> edit(new SceneEdit);
    SetBackground(*edit, 0, u"edit.png");
    edit->ShowImage(0);
    edit->SetText(text);
    edit->SetTextColor(kBlack);
    edit->SetFormat(TextFormat::VCenter | (centred ? TextFormat::Center : 0));
    edit->SetTextPadding(U() / 2, 0, U() / 2, 0);
    Insert(parent, edit, position);
    return edit;
}

shared_ptr<SceneButton> Scene::AddButton(const GObjectPtr& parent, const std::u16string& text,
                                         int position) {
    shared_ptr<SceneButton> button(new SceneButton);
    SetBackground(*button, SceneButton::kNormalImage, u"btn.png");
    button->AddImage(SceneButton::kPushedImage, u"btn_sel.png");
    button->ShowImage(SceneButton::kNormalImage);
    button->SetText(text);
    button->SetTextColor(kWhite);
    button->SetFont(600, U());
    button->SetFormat(TextFormat::Center | TextFormat::VCenter);
    Insert(parent, button, position);
    return button;
}

shared_ptr<SceneListItem> Scene::AddListItem(const GObjectPtr& parent) {
    shared_ptr<SceneListItem> item(new SceneListItem);
    SetBackground(*item, SceneListItem::kNormalImage, u"ls.png");
    item->AddImage(SceneListItem::kPushedImage, u"ls_sel.png");
    item->ShowImage(SceneListItem::kNormalImage);
    item->SetLineColor(Color{100, 100, 100});
    parent->AddChild(item);
    return item;
}

void Scene::FillListItem(const GObjectPtr& item, const std::u16string& text,
                         const std::u16string& iconName, const std::u16string& rightImageName) {
    if (!iconName.empty()) {
        shared_ptr<SceneImage> icon(new SceneImage);
        SetBackground(*icon, 0, iconName);
        icon->ShowImage(0);
        icon->SetTouchable(false);
        item->AddChild(icon, kItemIconId);
    }
    int rightW = 0, rightH = 0;
    if (!rightImageName.empty()) {
        shared_ptr<SceneImage> right(new SceneImage);
        right->AddImage(0, rightImageName);
        right->ShowImage(0, true);
        right->SetTouchable(false);
        // The pictures are rendered for the device's dpi, so their own size is the box.
        rightW = right->Width();
        rightH = right->Height();
        item->AddChild(right, kItemRightId);
    }
    shared_ptr<SceneLabel> label(new SceneLabel);
    label->SetText(text);
    label->SetTextColor(kBlack);
    label->SetFormat(TextFormat::VCenter);
    label->SetTouchable(false);
    item->AddChild(label, kItemTextId);
    item->SetLayout(shared_ptr<Layout>(new TreeItemLayout(U() / 2, rightW, rightH)));
}

GObjectPtr Scene::AddChoiceList(const GObjectPtr& page, const std::vector<Choice>& entries,
                                int selected) {
    GObjectPtr content = CreateContent(page);
    const int rowHeight = 3 * U();
    auto items = std::make_shared<std::vector<GObject*>>();
    for (size_t i = 0; i < entries.size(); ++i) {
        shared_ptr<SceneListItem> item = AddListItem(content);
        FillListItem(item, entries[i].text, entries[i].icon, u"check.png");
        items->push_back(item.get());
        GObjectPtr check;
        if (item->FindChild(kItemRightId, check))
            check->SetVisible(static_cast<int>(i) == selected);
        if (static_cast<int>(i) == selected) item->SetFocusable(true);
        const int index = static_cast<int>(i);
        OnTap(item, [this, items, index] {
            for (size_t k = 0; k < items->size(); ++k) {
                GObject* row = (*items)[k];
                row->SetFocusable(static_cast<int>(k) == index);
                GObjectPtr mark;
                if (row->FindChild(kItemRightId, mark))
                    mark->SetVisible(static_cast<int>(k) == index);
            }
            OnChoose(index);
        });
    }
    content->SetLayout(shared_ptr<Layout>(new ListLayout(rowHeight, 0)));
    // The selected entry comes to the top, as far as the list reaches: a short list is not
    // scrolled past its end (its first entries would hide above the view).
    const int viewHeight = page->Height() - 3 * U();
    const int listHeight = static_cast<int>(entries.size()) * rowHeight;
    const int offset =
        std::min(std::max(selected, 0) * rowHeight, std::max(listHeight - viewHeight, 0));
    content->SetPosition(0, -offset);
    return content;
}

shared_ptr<SegmentBar> Scene::AddSegmentBar(const GObjectPtr& parent,
                                            const std::vector<std::u16string>& labels, int selected,
                                            int position) {
    shared_ptr<SegmentBar> bar(new SegmentBar);
    // Selected and unselected pictures of the first, middle and last segments.
    static const char16_t* const kImages[3][2] = {
        {u"sort_left_sel.png", u"sort_left_usel.png"},
        {u"sort_mid_sel.png", u"sort_mid_usel.png"},
        {u"sort_right_sel.png", u"sort_right_usel.png"},
    };
    for (size_t i = 0; i < labels.size(); ++i) {
        const int kind = i == 0 ? 0 : (i + 1 == labels.size() ? 2 : 1);
        shared_ptr<Segment> segment(new Segment);
        segment->SetStretch(true);
        segment->AddImage(Segment::kSelectedImage, kImages[kind][0]);
        segment->AddImage(Segment::kUnselectedImage, kImages[kind][1]);
        segment->ShowImage(Segment::kUnselectedImage);
        segment->SetText(labels[i]);
        segment->SetFont(600, U());
        segment->SetFormat(TextFormat::Center | TextFormat::VCenter);
        segment->SetFocusable(static_cast<int>(i) == selected);
        bar->AddChild(segment);
    }
    bar->SetLayout(shared_ptr<Layout>(new HorizontRadioLayout));
    bar->OnSelectionChanged().Add(this, &Scene::OnSegmentChanged);
    Insert(parent, bar, position);
    return bar;
}

void Scene::AddSectionHeader(const GObjectPtr& item, const std::u16string& text) {
    shared_ptr<SceneBand> band(new SceneBand);
    band->SetFillColor(kBlack);
    band->SetTransparency(20);
    band->SetTouchable(false);
    item->AddChild(band);
    shared_ptr<SceneLabel> label(new SceneLabel);
    label->SetText(text);
    label->SetTextColor(kBlack);
    label->SetFormat(TextFormat::Center | TextFormat::VCenter);
    label->SetTouchable(false);
    item->AddChild(label);
    item->SetLayout(
        shared_ptr<Layout>(new SingleLayout(SingleLayout::kStart, SingleLayout::kStart, true)));
}

void Scene::FinishTable(const GObjectPtr& container, const std::vector<TableLayout::Cell>& cells) {
    shared_ptr<TableLayout> table(new TableLayout(U() / 3, 2 * U()));
    for (const TableLayout::Cell& cell : cells)
        table->AddCell(cell);
    container->SetLayout(table);
}

void Scene::ShowMessage(int code) {
    App().ShowPopup(Str(7), Str(code), Str(0), u"");
}

int Scene::ShowMessageIfError(int code) {
    if (code != 0) ShowMessage(code);
    return code;
}

void Scene::ConfirmExit() {
    auto answer = App().ShowPopup(Str(8), Str(12), Str(1), Str(2));
    if (!answer) return;
    answer->Add([](PopupBox::PopupBoxResult result) {
        if (result == PopupBox::LeftKey) Kestro::Instance().app->Quit();
    });
}

}  // namespace zentri
