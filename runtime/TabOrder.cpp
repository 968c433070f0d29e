#include "TabOrder.h"

#include <algorithm>

namespace lumeno {

bool takesFocus(ControlKind kind) {
    return kind != ControlKind::Label;
}

const ControlDefinition* firstFocus(const WindowDefinition& definition) {
    const auto first =
        std::find_if(definition.controls.begin(), definition.controls.end(),
                     [](const ControlDefinition& control) { return takesFocus(control.kind); });
    return first != definition.controls.end() ? &*first : nullptr;
}

const ControlDefinition* namingLabel(const WindowDefinition& definition,
                                     const ControlDefinition& control) {
    const ControlDefinition* before = &control - 1;
    return &control != definition.controls.data() && before->kind == ControlKind::Label ? before
                                                                                        : nullptr;
}

} // namespace lumeno
