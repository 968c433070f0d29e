// The message box in a browser: a modal <dialog> over the page (Page.js).
#include "Page.h"
#include "PictureBoxControl.h"
#include "Platform.h"

#include <string>

namespace lumeno::platform {

void showErrorBox(std::string_view title, std::string_view text) {
    // What was drawn shows behind the box.
    web::PictureBoxControl::paintDrawnRows();
    lumeno_error_box(std::string(title).c_str(), std::string(text).c_str());
}

} // namespace lumeno::platform
