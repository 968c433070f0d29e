#pragma once

#include "StandardAccessible.h"

namespace lumeno::win32 {

// The main window's client area as assistive technology sees it: busy while it shows the
// busy pointer.
class FormAccessible final : public StandardAccessible {
public:
    explicit FormAccessible(HWND form) : StandardAccessible(form) {}

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;

private:
    ~FormAccessible() override = default;
};

} // namespace lumeno::win32
