#pragma once

#include "StandardAccessible.h"

namespace lumeno::win32 {

// A picture box as assistive technology sees it: a graphic, named by its window text (the
// window definition's description), described by what it shows.
class PictureBoxAccessible final : public StandardAccessible {
public:
    explicit PictureBoxAccessible(HWND box) : StandardAccessible(box) {}

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;

private:
    ~PictureBoxAccessible() override = default;
};

} // namespace lumeno::win32
