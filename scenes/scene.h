#pragma once
// The base of every screen. A scene owns one page, a plain node in the application's scene
// container; the application pushes it (the page slides in from the right), activates it when
// it comes on top, and removes it when the user goes back. Concrete scenes fill the page in
// Build with the page-building operations below and react to the soft keys; the application's
// navigation is in app/kestro_app.h.
//
// Requests a scene starts are kept in members (shared_ptr<HttpRequest>) and registered with
// Track; when the scene is destroyed they are cancelled and their handlers dropped, so no
// completion reaches a scene that is gone.

#include <string>
#include <vector>

#include "net/http_request.h"
#include "ui/gobject.h"
#include "ui/shared_object.h"
#include "widgets/edit.h"
#include "widgets/hot_button.h"
#include "widgets/hot_label.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/push_button.h"
#include "widgets/push_label.h"
#include "widgets/push_select_button.h"
#include "widgets/radio.h"
#include "widgets/rect_drawer.h"
#include "widgets/rect_drawer_up_down.h"
#include "widgets/table_layout.h"
#include "widgets/transparable.h"

namespace zentri {

class KestroApp;

// The widget types the page-building operations make.
using SceneLabel = TLabel<GObject>;
using SceneLink = THotLabel<TLabel<GObject>>;
using SceneEdit = TEdit<TLabel<TImage<GObject>>>;
using SceneButton = TPushButton<TLabel<TImage<GObject>>>;
using SceneListItem = TPushButton<TRectDrawerUpDown<TImage<GObject>>>;
using SceneImage = TImage<GObject>;
using SceneHomeIcon = THotButton<TTransparableI<TImage<GObject>>>;
using SceneBand = TLabel<TRectDrawer<GObject>>;
using SegmentBar = TRadio<GObject>;
using Segment = TPushLabel<TLabel<TPushSelectButton<TImage<THotButton<TTransparableI<GObject>>>>>>;

class Scene : public shared_object {
  public:
    // Child ids inside a page, its header and its list items.
    static constexpr int kHeaderId = -90;
    static constexpr int kContentId = -91;
    static constexpr int kSubHeaderId = -92;
    static constexpr int kTitleId = -801;
    static constexpr int kCrumbId = -802;
    static constexpr int kSeparatorId = -803;
    static constexpr int kHomeId = -804;
    static constexpr int kItemIconId = 7000;
    static constexpr int kItemTextId = 7001;
    static constexpr int kItemRightId = 7002;
    // What a password edit shows for each character.
    static constexpr char16_t kPasswordChar = u'\u25CF';

    // An entry of a choice list: what it shows and its icon ("" for none).
    struct Choice {
        std::u16string text;
        std::u16string icon;
    };

    Scene();
    ~Scene() override;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // ---- what the navigation calls (see the application's navigation) ----
    // A back move starts while this scene is on top.
    virtual void OnLeave() {}
    // The forward slide that brought this scene in has finished.
    virtual void OnShown() {}
    // A soft key closed the popup box while this scene was on top.
    virtual void OnPopupClosed() {}
    // Fills the page; called by Rebuild inside one suspended layout pass.
    virtual void Build(GObjectPtr& page) { (void)page; }
    // The scene came on top (pushed, uncovered, or a popup box closed): sets the soft keys.
    virtual void Activate(GObjectPtr& page);
    // Another scene is pushed over this one, or this one is about to be removed.
    virtual void Deactivate(GObjectPtr& page) { (void)page; }
    // The page is about to leave the container (the scene is popped).
    virtual void Removed(GObjectPtr& page) { (void)page; }
    // Soft keys while no popup box is open; the left one goes back by default.
    virtual void OnLeftSoftKey();
    virtual void OnRightSoftKey() {}
    // An entry of the choice list was tapped; goes back by default.
    virtual void OnChoose(int index);
    // Sign-in, registration and password reminder answer true.
    virtual bool IsAccountScene() const { return false; }
    // A segment bar (AddSegmentBar) changed its selection.
    virtual void OnSegmentChanged(GObjectPtr& bar, int index) { (void)bar, (void)index; }
    // Asked by RebuildCatalogueScenes: should this scene rebuild for that reason?
    virtual bool NeedsRebuild(int reason) {
        (void)reason;
        return false;
    }

    // The page while the scene is on the stack (null before the push and after the pop).
    const GObjectPtr& Page() const { return page; }
    // The navigation makes the page when it pushes the scene, and drops it when it pops it.
    void SetPage(GObjectPtr value) { page = std::move(value); }
    // Empties the page and builds it again (a SceneLayout with a header 3U high, Build inside
    // one layout pass). The scene's own members (filters, loaded lists) stay.
    void Rebuild();

    // ---- page-building operations: each adds to `parent` as its last child unless a position
    // is given (-1 is last) ----
    GObjectPtr AddHeader(const GObjectPtr& page, const std::u16string& title, bool withCrumb,
                         const std::u16string& crumbText);
    // A scroll view added with id -91; returns its inner container for the rows.
    GObjectPtr CreateContent(const GObjectPtr& page);
    shared_ptr<SceneLabel> AddLabel(const GObjectPtr& parent, const std::u16string& text,
                                    bool centred, int position = -1);
    // Wrapped text; every "--br--" becomes a line break.
    shared_ptr<SceneLabel> AddText(const GObjectPtr& parent, const std::u16string& text,
                                   int position = -1);
    // A tap opens `address` with the device's opener.
    shared_ptr<SceneLink> AddLink(const GObjectPtr& parent, const std::u16string& text,
                                  const std::u16string& address, bool centred);
    shared_ptr<SceneEdit> AddEdit(const GObjectPtr& parent, const std::u16string& text,
                                  bool centred, int position = -1);
    shared_ptr<SceneButton> AddButton(const GObjectPtr& parent, const std::u16string& text,
                                      int position = -1);
    shared_ptr<SceneListItem> AddListItem(const GObjectPtr& parent);
    // Icon (7000), text (7001) and right-hand image (7002) inside a list item; empty names
    // leave the parts out.
    void FillListItem(const GObjectPtr& item, const std::u16string& text,
                      const std::u16string& iconName, const std::u16string& rightImageName);
    // A content list of entries with a check mark on `selected`; a tap calls OnChoose.
    GObjectPtr AddChoiceList(const GObjectPtr& page, const std::vector<Choice>& entries,
                             int selected);
    // An exclusive row of segments; a change calls OnSegmentChanged.
    shared_ptr<SegmentBar> AddSegmentBar(const GObjectPtr& parent,
                                         const std::vector<std::u16string>& labels, int selected,
                                         int position = -1);
    // Fills a list item as a section title.
    void AddSectionHeader(const GObjectPtr& item, const std::u16string& text);
    // Lays out `container`'s children as a table, one cell per child in child order.
    void FinishTable(const GObjectPtr& container, const std::vector<TableLayout::Cell>& cells);

    // ---- messages ----
    // The popup box with the localized text `code` (a result code is its own message id).
    void ShowMessage(int code);
    int ShowMessageIfError(int code);
    // Asks whether to leave the program; yes closes the main window.
    void ConfirmExit();

  protected:
    KestroApp& App() const;
    // The base unit of every size (the system font's height in pixels).
    static int U();
    // A localized text.
    static std::u16string Str(int id);
    // Keeps `request` to be cancelled, its handlers dropped, if the scene goes first.
    void Track(const shared_ptr<HttpRequest>& request);
    // Tracks a request just sent and has its completion call `done` on this scene; returns it
    // for the scene's member (null when it could not be sent).
    template <class S>
    shared_ptr<HttpRequest> Await(shared_ptr<HttpRequest> request,
                                  void (S::*done)(HttpRequest*, bool)) {
        if (!request) return nullptr;
        request->Completion().Add(static_cast<S*>(this), done);
        Track(request);
        return request;
    }
    // A tap (touch type 5) on `node` calls `handler`. The handler lives in the node, and holds
    // the scene only by a plain pointer: the page never outlives its scene.
    void OnTap(const GObjectPtr& node, std::function<void()> handler);

  private:
    GObjectPtr page;
    std::vector<shared_ptr<HttpRequest>> requests;
};

using ScenePtr = shared_ptr<Scene>;

}  // namespace zentri
