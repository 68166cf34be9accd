#pragma once
// The price filter and the sort of an application list as the device applies them to a list
// fetched once: the server's answer stays as it came, and what is shown is taken from it.

#include <string_view>
#include <vector>

#include "manager/app.h"
#include "ui/shared_object.h"

namespace zentri {

using AppList = std::vector<shared_ptr<App>>;

// The applications of `all` that the price filter keeps, in their order: "free" keeps the price
// kind "free", "paid" every other kind (trial and demo too), any other filter all of them.
AppList FilterByPrice(const AppList& all, std::u16string_view price);

// Sorts by the key: "rates", "downloads", "views" and "createtime" highest first, any other key
// by name in code-unit order. Equal keys keep their order, so the same choice always shows the
// same list.
void SortApps(AppList& apps, std::u16string_view key);

}  // namespace zentri
