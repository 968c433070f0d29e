#include "TextBoxControl.h"

#include "Page.h"

#include <cstdlib>
#include <memory>

namespace lumeno::web {

std::string TextBoxControl::text() const {
    const std::unique_ptr<char, decltype(&std::free)> text(lumeno_field_text(field_), &std::free);
    return text.get();
}

void TextBoxControl::focusWithTextSelected() {
    lumeno_field_focus_selected(field_);
}

} // namespace lumeno::web
