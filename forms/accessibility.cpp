#include <oleacc.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "forms/accessible_object.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/ole.h"

namespace forms {
namespace {

HRESULT Text(const std::wstring& text, BSTR* out) {
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool Plain(const Control& control) { return control.Accessibility().role == AccessibleRole::None; }

LONG ChildId(const VARIANT& child) { return child.vt == VT_I4 ? child.lVal : -1; }

ComPtr<IAccessible> StandardObject(HWND window) {
  ComPtr<IAccessible> standard;
  ::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(standard.Put()));
  return standard;
}

}  // namespace

AccessibleObject::AccessibleObject(ComPtr<IAccessible> standard, Control* control, Form* form)
    : standard_(std::move(standard)), control_(control), form_(form) {}

ComPtr<AccessibleObject> AccessibleObject::For(Control& control) {
  ComPtr<AccessibleObject> made;
  if (auto standard = StandardObject(control.hWnd())) {
    *made.Put() = new AccessibleObject(std::move(standard), &control, nullptr);
  }
  return made;
}

ComPtr<AccessibleObject> AccessibleObject::For(Form& form) {
  ComPtr<AccessibleObject> made;
  if (auto standard = StandardObject(form.hWnd())) {
    *made.Put() = new AccessibleObject(std::move(standard), nullptr, &form);
  }
  return made;
}

void AccessibleObject::Disconnect() {
  control_ = nullptr;
  form_ = nullptr;
}

LRESULT AccessibleObject::Answer(WPARAM wParam) {
  // The object is marshalled to the reader, which needs COM; the splash may be asked before any
  // window of ours has started it.
  EnsureOleOnThisThread();
  return ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this));
}

LONG AccessibleObject::StandardChildren() const {
  LONG count = 0;
  if (FAILED(standard_->get_accChildCount(&count))) count = 0;
  return count;
}

Control* AccessibleObject::Described(const VARIANT& child) const {
  const LONG id = ChildId(child);
  if (id == CHILDID_SELF) return control_;
  if (!form_) return nullptr;
  const std::vector<Control*> parts = form_->AccessibleParts();
  const LONG index = id - StandardChildren() - 1;
  return index >= 0 && index < static_cast<LONG>(parts.size()) ? parts[static_cast<size_t>(index)] : nullptr;
}

HRESULT AccessibleObject::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) { return standard_->GetTypeInfoCount(count); }

HRESULT AccessibleObject::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
  return standard_->GetTypeInfo(index, locale, info);
}

HRESULT AccessibleObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
  return standard_->GetIDsOfNames(iid, names, count, locale, ids);
}

// Late-bound callers reach the same answers as everyone else: the type information dispatches
// into this object, not into the standard one.
HRESULT AccessibleObject::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ComPtr<ITypeInfo> info;
  const HRESULT got = GetTypeInfo(0, locale, info.Put());
  if (FAILED(got)) return got;
  return info->Invoke(static_cast<IAccessible*>(this), id, flags, params, result, exception, badArgument);
}

HRESULT AccessibleObject::get_accParent(IDispatch** parent) { return standard_->get_accParent(parent); }

HRESULT AccessibleObject::get_accChildCount(LONG* count) {
  const HRESULT got = standard_->get_accChildCount(count);
  if (SUCCEEDED(got) && form_) *count += static_cast<LONG>(form_->AccessibleParts().size());
  return got;
}

HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (Described(child) && ChildId(child) != CHILDID_SELF) {
    *object = nullptr;
    return S_FALSE;  // a part without an object of its own
  }
  return standard_->get_accChild(child, object);
}

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  const Control* described = Described(child);
  if (!described) return standard_->get_accName(child, name);
  return Text(described->Accessibility().name, name);
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  const Control* described = Described(child);
  if (!described) return standard_->get_accValue(child, value);
  return Text(described->Accessibility().value, value);
}

HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  if (Described(child) && ChildId(child) != CHILDID_SELF) return Text({}, description);
  return standard_->get_accDescription(child, description);
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  const Control* described = Described(child);
  if (!described || Plain(*described)) return standard_->get_accRole(child, role);
  role->vt = VT_I4;
  role->lVal = described->Accessibility().role == AccessibleRole::Link ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_PUSHBUTTON;
  return S_OK;
}

// The standard state of the window, with what only the program knows: art is not something
// to move to, a link is linked, and whatever the user cannot see is invisible and off screen.
HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  const Control* described = Described(child);
  if (!described) return standard_->get_accState(child, state);
  LONG flags = 0;
  VARIANT standard;
  ::VariantInit(&standard);
  if (described == control_ && SUCCEEDED(standard_->get_accState(child, &standard)) && standard.vt == VT_I4) {
    flags = standard.lVal;
  }
  if (Plain(*described)) flags &= ~STATE_SYSTEM_FOCUSABLE;
  if (described->Accessibility().role == AccessibleRole::Link) flags |= STATE_SYSTEM_LINKED;
  if (!described->ShownToUser()) flags |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  state->vt = VT_I4;
  state->lVal = flags;
  return S_OK;
}

HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  if (Described(child) && ChildId(child) != CHILDID_SELF) return Text({}, help);
  return standard_->get_accHelp(child, help);
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  return standard_->get_accHelpTopic(file, child, topic);
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (Described(child) && ChildId(child) != CHILDID_SELF) return Text({}, shortcut);
  return standard_->get_accKeyboardShortcut(child, shortcut);
}

HRESULT AccessibleObject::get_accFocus(VARIANT* child) { return standard_->get_accFocus(child); }

HRESULT AccessibleObject::get_accSelection(VARIANT* children) { return standard_->get_accSelection(children); }

HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  const Control* described = Described(child);
  if (!described) return standard_->get_accDefaultAction(child, action);
  return Text(Plain(*described) ? std::wstring() : described->Accessibility().defaultAction, action);
}

HRESULT AccessibleObject::accSelect(LONG flags, VARIANT child) { return standard_->accSelect(flags, child); }

HRESULT AccessibleObject::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
  const Control* described = Described(child);
  if (!described || described == control_) return standard_->accLocation(left, top, width, height, child);
  RECT r = described->PixelRect();
  ::MapWindowPoints(form_->hWnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  *left = r.left;
  *top = r.top;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return S_OK;
}

HRESULT AccessibleObject::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  return standard_->accNavigate(direction, start, end);
}

HRESULT AccessibleObject::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (form_) {
    POINT p{x, y};
    ::ScreenToClient(form_->hWnd(), &p);
    const std::vector<Control*> parts = form_->AccessibleParts();
    for (size_t i = 0; i < parts.size(); ++i) {
      const RECT r = parts[i]->PixelRect();
      if (!parts[i]->ShownToUser() || !::PtInRect(&r, p)) continue;
      child->vt = VT_I4;
      child->lVal = StandardChildren() + static_cast<LONG>(i) + 1;
      return S_OK;
    }
  }
  return standard_->accHitTest(x, y, child);
}

// The click runs later, from the form's message queue: a click may open a modal box, and the
// caller (often another process) must get its answer first.
HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) {
  Control* described = Described(child);
  if (!described) return standard_->accDoDefaultAction(child);
  if (Plain(*described) || !described->ShownToUser()) return DISP_E_MEMBERNOTFOUND;
  described->owner_.PostDefaultAction(*described);
  return S_OK;
}

HRESULT AccessibleObject::put_accName(VARIANT child, BSTR name) { return standard_->put_accName(child, name); }

HRESULT AccessibleObject::put_accValue(VARIANT child, BSTR value) { return standard_->put_accValue(child, value); }

// The control's side.

LRESULT Control::AnswerGetObject(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || !window_) {
    return ::DefWindowProcW(window_.Get(), WM_GETOBJECT, wParam, lParam);
  }
  if (!accessible_) accessible_ = AccessibleObject::For(*this);
  return accessible_ ? accessible_->Answer(wParam) : 0;
}

void Control::ForgetAccessible() {
  if (accessible_) accessible_->Disconnect();
  accessible_.Reset();
}

bool Control::ShownToUser() const {
  const HWND form = owner_.hWnd();
  if (!visible_ || !form || !::IsWindowVisible(form)) return false;
  RECT client{};
  ::GetClientRect(form, &client);
  const RECT r = PixelRect();
  RECT overlap{};
  if (!::IntersectRect(&overlap, &client, &r)) return false;
  // A window wholly under another window in front of it cannot be clicked either.
  for (const Control* front : owner_.controls_) {
    if (front == this) break;
    const RECT over = front->PixelRect();
    if (front->window_ && front->visible_ && window_ && over.left <= r.left && over.top <= r.top &&
        over.right >= r.right && over.bottom >= r.bottom) {
      return false;
    }
  }
  return true;
}

}  // namespace forms
