#include "PictureBoxAccessible.h"

#include "PictureBoxControl.h"
#include "WideText.h"

namespace lumeno::win32 {

HRESULT PictureBoxAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!isSelf(child))
        return StandardAccessible::get_accRole(child, role);
    if (role == nullptr)
        return E_POINTER;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_GRAPHIC;
    return S_OK;
}

HRESULT PictureBoxAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (!isSelf(child))
        return StandardAccessible::get_accDescription(child, description);
    if (description == nullptr)
        return E_POINTER;
    const PictureBoxControl* box = PictureBoxControl::ofWindow(window());
    if (box == nullptr)
        return E_FAIL;
    const std::wstring text = toWide(box->model().description());
    *description = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *description != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace lumeno::win32
