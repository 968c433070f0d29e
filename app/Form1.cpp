#include "Form1.h"

#include <array>

namespace lumeno {

namespace {

constexpr const char* builtInPicture = "picture";

// In tab order; geometry in twips: left, top, width, height; then the name assistive
// technology gives a control whose caption does not say what it is.
constexpr std::array controls{
    ControlDefinition{ControlKind::PictureBox, "PicFrom", builtInPicture, 120, 120, 2292, 2532,
                      "Source picture"},
    ControlDefinition{ControlKind::CommandButton, "cmdGo", "Go", 4560, 3480, 1455, 615},
    ControlDefinition{ControlKind::PictureBox, "PicTo", builtInPicture, 3360, 120, 2292, 2532,
                      "Result picture"},
    ControlDefinition{ControlKind::Label, "Label1", "parameter value?", 480, 3480, 732, 372},
    ControlDefinition{ControlKind::TextBox, "txtBrightness", "", 1440, 3480, 615, 375},
    ControlDefinition{ControlKind::CommandButton, "Quit", "Quit", 4560, 4440, 1452, 612},
    ControlDefinition{ControlKind::CommandButton, "cmdRestart", "Restart", 6000, 3480, 1332, 612},
};

constexpr WindowDefinition form1{
    .name = "Form1",
    .caption = "Form1",
    .icon = "lumeno",
    .clientWidth = 7500,
    .clientHeight = 5328,
    .controls = controls,
};

} // namespace

const WindowDefinition& form1Definition() {
    return form1;
}

} // namespace lumeno
