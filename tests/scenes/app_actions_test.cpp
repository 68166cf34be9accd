// What an application's page and its My apps row offer in each state on the device, and the
// questions asked before acting.

#include "scenes/app_actions.h"

#include <gtest/gtest.h>

#include "manager/app.h"

namespace zentri {
namespace {

shared_ptr<App> Catalogued(int32_t revision, std::u16string install = u"tool.cab") {
    shared_ptr<App> app(new App);
    app->name = u"Tool";
    app->version = u"2.0";
    app->revision = revision;
    app->install = std::move(install);
    return app;
}

TEST(DetailActions, FollowTheApplicationsStateOnTheDevice) {
    shared_ptr<App> app = Catalogued(5);

    DetailActions fresh = ActionsFor(DeviceState{}, *app);
    EXPECT_TRUE(fresh.install);
    EXPECT_FALSE(fresh.run || fresh.uninstall || fresh.update);

    // Installed without an executable in its record: no run, but it can still be removed.
    DetailActions noExe = ActionsFor(DeviceState{true, false, 4}, *app);
    EXPECT_FALSE(noExe.run);
    EXPECT_TRUE(noExe.uninstall);
    EXPECT_TRUE(noExe.update);
    EXPECT_FALSE(noExe.install);

    DetailActions current = ActionsFor(DeviceState{true, true, 5}, *app);
    EXPECT_TRUE(current.run && current.uninstall);
    EXPECT_FALSE(current.update);

    // Installed by other means (revision unknown): the catalogue's revision is offered.
    EXPECT_TRUE(ActionsFor(DeviceState{true, true, 0}, *app).update);

    shared_ptr<App> noPackage = Catalogued(5, u"");
    DetailActions none = ActionsFor(DeviceState{}, *noPackage);
    EXPECT_FALSE(none.install || none.run || none.uninstall || none.update);
    EXPECT_FALSE(ActionsFor(DeviceState{true, true, 1}, *noPackage).update);
}

TEST(RowControls, BusyRowsShowTheirActivityInsteadOfButtons) {
    shared_ptr<App> app = Catalogued(5);
    const DeviceState installed{true, true, 4};

    RowControls idle = ControlsFor(*app, Activity{}, installed, 0.0);
    EXPECT_EQ(idle.section, kSectionCatalogue);
    EXPECT_TRUE(idle.update && idle.run && idle.uninstall);
    EXPECT_FALSE(idle.progress);
    EXPECT_EQ(idle.statusText, 0);

    RowControls downloading = ControlsFor(*app, Activity{true, false, false}, installed, 0.25);
    EXPECT_EQ(downloading.section, kSectionBusy);
    EXPECT_FALSE(downloading.update || downloading.run || downloading.uninstall);
    EXPECT_TRUE(downloading.progress);
    EXPECT_EQ(downloading.statusText, 11005);
    EXPECT_DOUBLE_EQ(downloading.progressValue, 0.25);

    // Installing wins over a download that has not let go yet; its bar shows no fraction.
    RowControls installing = ControlsFor(*app, Activity{true, true, false}, installed, 1.0);
    EXPECT_EQ(installing.statusText, 11003);
    EXPECT_DOUBLE_EQ(installing.progressValue, 0.0);
    EXPECT_EQ(ControlsFor(*app, Activity{false, false, true}, installed, 0.0).statusText, 11004);
}

TEST(RowControls, ApplicationsOutsideTheCatalogueGoLastWithoutUpdate) {
    App unknown(u"Acme Tool");  // from the registry; its details never arrived
    RowControls controls = ControlsFor(unknown, Activity{}, DeviceState{true, false, 0}, 0.0);
    EXPECT_EQ(controls.section, kSectionOther);
    EXPECT_FALSE(controls.update || controls.run);
    EXPECT_TRUE(controls.uninstall);

    // Revision 0 under a newer catalogue revision with a package: the update is offered.
    shared_ptr<App> app = Catalogued(3);
    EXPECT_TRUE(ControlsFor(*app, Activity{}, DeviceState{true, false, 0}, 0.0).update);
    EXPECT_FALSE(ControlsFor(*app, Activity{}, DeviceState{true, false, 3}, 0.0).update);
}

TEST(Questions, FillTheFirstPlaceholdersAndAskTheSizeOnlyWhenNeeded) {
    int asked = 0;
    auto size = [&asked] {
        ++asked;
        return std::u16string(u"120");
    };
    EXPECT_EQ(Question(u"Get --app-- (--size-- KB, --size--)? --app--", u"Tool 2.0", size),
              u"Get Tool 2.0 (120 KB, --size--)? --app--");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Question(u"Remove --app--?", u"Tool", size), u"Remove Tool?");
    EXPECT_EQ(asked, 1);
    // Whatever the size query answers replaces the placeholder, nothing included.
    EXPECT_EQ(Question(u"--size-- KB", u"", [] { return std::u16string(); }), u" KB");
}

}  // namespace
}  // namespace zentri
