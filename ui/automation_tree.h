#pragma once
// What the automation sees of the object tree: the nodes a user could see now, in drawing order
// (a later node lies above an earlier one), each with the part of it that is on screen and the
// text it draws. Scripts find what to tap and check by these texts instead of by coordinates.

#include <string>
#include <string_view>
#include <vector>

#include "ui/rect.h"

namespace zentri {

class GObject;

struct AutomationNode {
    int depth = 0;          // 0 for the root
    std::string className;  // the node's type without the namespace, e.g. TLabel<GObject>
    int id = -1;
    Rect rect;            // the visible part, in screen pixels
    std::u16string text;  // what it draws as text, empty for most nodes
    bool edit = false;    // an edit box
};

// The visible nodes under the root: shown, not fully transparent, and not wholly clipped away
// by the screen or by an ancestor's paint area.
std::vector<AutomationNode> VisibleNodes(GObject& root, const Rect& screen);

// A pattern matches a drawn text exactly, or, when it ends in "*", any text that begins with
// what stands before the "*".
bool TextMatches(std::u16string_view drawn, std::u16string_view pattern);

// While on, widgets with endless animations (a blinking caret, a spinner) draw their fixed
// phase, so that screenshots of the same script are the same from run to run. UI thread only.
void SetFixedPhaseDrawing(bool on);
bool FixedPhaseDrawing();

// One node a line: depth, class, id, rectangle and text (UTF-8), indented by depth.
std::string FormatNodes(const std::vector<AutomationNode>& nodes);

}  // namespace zentri
