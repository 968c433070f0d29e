#include "StandardAccessible.h"

namespace lumeno {

StandardAccessible::StandardAccessible(HWND window) : window_(window) {
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&standard_))))
        standard_ = nullptr;
    else if (FAILED(
                 standard_->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&children_))))
        children_ = nullptr;
}

StandardAccessible::~StandardAccessible() {
    if (children_ != nullptr)
        children_->Release();
    if (standard_ != nullptr)
        standard_->Release();
}

LRESULT StandardAccessible::answer(StandardAccessible* object, WPARAM wParam) {
    // Without memory or a standard object the system answers as it would without this one.
    if (object == nullptr)
        return 0;
    const LRESULT result =
        object->standard_ != nullptr
            ? LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(object))
            : 0;
    object->Release();
    return result;
}

HRESULT StandardAccessible::QueryInterface(REFIID id, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    if (id == IID_IOleWindow) {
        *object = static_cast<IOleWindow*>(this);
        AddRef();
        return S_OK;
    }
    if (id == IID_IEnumVARIANT && children_ != nullptr) {
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG StandardAccessible::AddRef() {
    return ++references_;
}

ULONG StandardAccessible::Release() {
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT StandardAccessible::GetTypeInfoCount(UINT* count) {
    return standard_->GetTypeInfoCount(count);
}

HRESULT StandardAccessible::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
    return standard_->GetTypeInfo(index, locale, info);
}

HRESULT StandardAccessible::GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
}

HRESULT StandardAccessible::Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) {
    return standard_->Invoke(member, id, locale, flags, parameters, result, exception,
                             argumentError);
}

HRESULT StandardAccessible::get_accParent(IDispatch** parent) {
    return standard_->get_accParent(parent);
}

HRESULT StandardAccessible::get_accChildCount(long* count) {
    return standard_->get_accChildCount(count);
}

HRESULT StandardAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return standard_->get_accChild(child, object);
}

HRESULT StandardAccessible::get_accName(VARIANT child, BSTR* name) {
    return standard_->get_accName(child, name);
}

HRESULT StandardAccessible::get_accValue(VARIANT child, BSTR* value) {
    return standard_->get_accValue(child, value);
}

HRESULT StandardAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return standard_->get_accDescription(child, description);
}

HRESULT StandardAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return standard_->get_accRole(child, role);
}

HRESULT StandardAccessible::get_accState(VARIANT child, VARIANT* state) {
    return standard_->get_accState(child, state);
}

HRESULT StandardAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return standard_->get_accHelp(child, help);
}

HRESULT StandardAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return standard_->get_accHelpTopic(file, child, topic);
}

HRESULT StandardAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return standard_->get_accKeyboardShortcut(child, shortcut);
}

HRESULT StandardAccessible::get_accFocus(VARIANT* child) {
    return standard_->get_accFocus(child);
}

HRESULT StandardAccessible::get_accSelection(VARIANT* children) {
    return standard_->get_accSelection(children);
}

HRESULT StandardAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return standard_->get_accDefaultAction(child, action);
}

HRESULT StandardAccessible::accSelect(long flags, VARIANT child) {
    return standard_->accSelect(flags, child);
}

HRESULT StandardAccessible::accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) {
    return standard_->accLocation(left, top, width, height, child);
}

HRESULT StandardAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return standard_->accNavigate(direction, start, end);
}

HRESULT StandardAccessible::accHitTest(long left, long top, VARIANT* child) {
    return standard_->accHitTest(left, top, child);
}

HRESULT StandardAccessible::accDoDefaultAction(VARIANT child) {
    return standard_->accDoDefaultAction(child);
}

HRESULT StandardAccessible::put_accName(VARIANT child, BSTR name) {
    return standard_->put_accName(child, name);
}

HRESULT StandardAccessible::put_accValue(VARIANT child, BSTR value) {
    return standard_->put_accValue(child, value);
}

HRESULT StandardAccessible::GetWindow(HWND* window) {
    if (window == nullptr)
        return E_POINTER;
    *window = window_;
    return S_OK;
}

HRESULT StandardAccessible::ContextSensitiveHelp(BOOL /*enter*/) {
    return E_NOTIMPL;
}

HRESULT StandardAccessible::Next(ULONG count, VARIANT* children, ULONG* fetched) {
    return children_->Next(count, children, fetched);
}

HRESULT StandardAccessible::Skip(ULONG count) {
    return children_->Skip(count);
}

HRESULT StandardAccessible::Reset() {
    return children_->Reset();
}

// The copy is a new enumeration, the standard object's, at the same place.
HRESULT StandardAccessible::Clone(IEnumVARIANT** copy) {
    return children_->Clone(copy);
}

} // namespace lumeno
