#pragma once
// The application's own screen inside a screenshot: SVG elements for a w x h area, drawn for
// the application's kind (a list, a document, a game board, a map, ...) with its colours and
// real texts (its name, description, plausible entries). Screenshot `number` (1, 2, ...)
// varies the contents.

#include <string>

#include "server/assets/picture_style.h"

namespace zentri::server::assets {

std::string ScreenBody(const PictureStyle& style, const AppEntry& app, int number, int w, int h);

// The soft-key labels that fit the kind of application (left, right).
std::pair<std::string, std::string> SoftKeys(ScreenKind kind);

}  // namespace zentri::server::assets
