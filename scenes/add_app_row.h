#pragma once
// The row of an application in the catalogue lists and in My apps: icon, name, developer, and
// either the votes, stars, price kind and install state (full form) or an empty bottom line
// for the caller's own controls (compact form); an arrow when the catalogue knows the
// application. Laid out by AppListItemLayout, whose part ids the children carry.

#include "manager/app.h"
#include "ui/gobject.h"
#include "widgets/image.h"
#include "widgets/remote_image.h"

namespace zentri {

using AppRowIcon = TRemoteImage<TImage<GObject>>;

// Replaces the item's children with the row of `app`.
void AddAppRow(const GObjectPtr& item, const shared_ptr<App>& app, bool compact);

// Half stars for an average rating: twice the rating, halves rounded away from zero.
int32_t HalfStars(double rate);

}  // namespace zentri
