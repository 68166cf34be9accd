#include "scenes/app_list_order.h"

#include <algorithm>

namespace zentri {

AppList FilterByPrice(const AppList& all, std::u16string_view price) {
    if (price != u"free" && price != u"paid") return all;
    const bool free = price == u"free";
    AppList kept;
    kept.reserve(all.size());
    for (const shared_ptr<App>& app : all)
        if ((app->type == u"free") == free) kept.push_back(app);
    return kept;
}

namespace {

template <class Key>
void SortDescending(AppList& apps, Key key) {
    std::stable_sort(
        apps.begin(), apps.end(),
        [&](const shared_ptr<App>& a, const shared_ptr<App>& b) { return key(*a) > key(*b); });
}

}  // namespace

void SortApps(AppList& apps, std::u16string_view key) {
    if (key == u"rates")
        SortDescending(apps, [](const App& a) { return a.rate; });
    else if (key == u"downloads")
        SortDescending(apps, [](const App& a) { return a.downloads; });
    else if (key == u"views")
        SortDescending(apps, [](const App& a) { return a.views; });
    else if (key == u"createtime")
        SortDescending(apps, [](const App& a) { return a.createtime; });
    else
        std::stable_sort(
            apps.begin(), apps.end(),
            [](const shared_ptr<App>& a, const shared_ptr<App>& b) { return a->name < b->name; });
}

}  // namespace zentri
