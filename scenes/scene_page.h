#pragma once
// A scene's page: a plain node that can slide (its position chain marks every slide).

#include "ui/gobject.h"
#include "widgets/movable.h"

namespace zentri {

using ScenePage = TMovableI<GObject>;

}  // namespace zentri
