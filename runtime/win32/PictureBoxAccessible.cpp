#include "PictureBoxAccessible.h"

#include "PictureBoxControl.h"
#include "WideText.h"

#include <new>
#include <string>

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
    // The only answer made by the program's own code, which may throw: no exception may
    // leave a COM method. The caller is assistive technology, not one of the program's
    // handlers, and COM tells it of a lack of memory by E_OUTOFMEMORY; the program goes on.
    try {
        const std::wstring text = toWide(box->model().description());
        *description = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    return *description != nullptr ? S_OK : E_OUTOFMEMORY;
}

} // namespace lumeno::win32
