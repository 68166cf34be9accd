#include "ui/automation_tree.h"

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <typeinfo>

#include "platform/text.h"
#include "ui/gobject.h"

namespace zentri {
namespace {

std::string ClassName(const GObject& node) {
    const char* mangled = typeid(node).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // Namespaces say nothing a reader of the dump needs: "zentri::TLabel<zentri::GObject>" is
    // shown as TLabel<GObject>.
    for (const char* noise : {"(anonymous namespace)::", "zentri::"})
        for (size_t at; (at = name.find(noise)) != std::string::npos;)
            name.erase(at, std::strlen(noise));
    return name;
}

void Collect(GObject& node, const Rect& clip, int depth, std::vector<AutomationNode>& out) {
    if (!node.IsVisible() || node.Transparency() <= 0) return;
    Rect shown = node.AbsRect().Intersection(clip);
    if (shown.w <= 0 || shown.h <= 0) return;
    AutomationNode entry;
    entry.depth = depth;
    entry.className = ClassName(node);
    entry.id = node.Id();
    entry.rect = shown;
    entry.text = std::u16string(node.AutomationText());
    entry.edit = node.IsEditBox();
    out.push_back(std::move(entry));
    // Children are drawn inside the node's paint area, as DrawTree clips them.
    Rect inner = node.PaintArea().Intersection(clip);
    for (size_t i = 0; i < node.ChildCount(); ++i)
        Collect(*node.ChildAt(i), inner, depth + 1, out);
}

}  // namespace

std::vector<AutomationNode> VisibleNodes(GObject& root, const Rect& screen) {
    std::vector<AutomationNode> nodes;
    Collect(root, screen, 0, nodes);
    return nodes;
}

namespace {
bool fixedPhase = false;
}  // namespace

void SetFixedPhaseDrawing(bool on) {
    fixedPhase = on;
}

bool FixedPhaseDrawing() {
    return fixedPhase;
}

bool TextMatches(std::u16string_view drawn, std::u16string_view pattern) {
    if (!pattern.empty() && pattern.back() == u'*') {
        pattern.remove_suffix(1);
        return drawn.substr(0, pattern.size()) == pattern;
    }
    return drawn == pattern;
}

std::string FormatNodes(const std::vector<AutomationNode>& nodes) {
    std::string out;
    for (const AutomationNode& n : nodes) {
        out += std::string(static_cast<size_t>(n.depth) * 2, ' ') + std::to_string(n.depth) + " " +
               n.className + " id=" + std::to_string(n.id) + " " + std::to_string(n.rect.x) + "," +
               std::to_string(n.rect.y) + "," + std::to_string(n.rect.w) + "," +
               std::to_string(n.rect.h);
        if (n.edit) out += " edit";
        if (!n.text.empty()) out += " \"" + platform::Utf16ToUtf8(n.text) + "\"";
        out += "\n";
    }
    return out;
}

}  // namespace zentri
