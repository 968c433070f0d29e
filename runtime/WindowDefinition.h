#pragma once

#include <span>
#include <string_view>

namespace lumeno {

class Form;

enum class ControlKind { PictureBox, CommandButton, Label, TextBox };

// One control of a window definition. Geometry is in twips relative to the
// window's client area; `content` is the caption, or for a picture box the name of
// its picture among the program's resources (a BMP file). Assistive technology names
// a control by its `accessibleName`, else by its caption; a text box is named by the
// label before it in tab order.
struct ControlDefinition {
    ControlKind kind;
    std::string_view name;
    std::string_view content;
    int left;
    int top;
    int width;
    int height;
    std::string_view accessibleName = {};
};

// A read-only description of a window. The controls are listed in tab order. Resources
// are named without a platform's paths or numbers; each platform finds them where it
// keeps a program's resources.
struct WindowDefinition {
    std::string_view name;
    std::string_view caption;
    std::string_view icon; // the name of an icon (ICO) among the program's resources
    int clientWidth;       // twips
    int clientHeight;
    std::span<const ControlDefinition> controls;
};

// A click handler: receives the window object, returns nothing, reports
// failures by throwing RuntimeError.
using ClickHandler = void (*)(Form&);

struct EventBinding {
    std::string_view control;
    ClickHandler click;
};

// What the program entry hands to the run-time: the start-up window, which is
// the program's only window, and the handlers bound to its controls.
struct ProgramHeader {
    const WindowDefinition& startupWindow;
    std::span<const EventBinding> bindings;
    std::string_view applicationName;
    std::string_view applicationVersion;
};

} // namespace lumeno
