// What the runtime tells assistive technology about a form and its controls.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/forms.h"

namespace {

// Client 200 x 100 px.
class DescribedForm : public forms::Form {
 public:
  DescribedForm() : Form({.caption = L"described", .clientWidth = 3000, .clientHeight = 1500, .left = 1500, .top = 1500}) {
    Button.Move(150, 150, 300, 300);  // (10, 10) 20 x 20
    Art.Move(600, 150, 300, 300);     // (40, 10)
    Link.Move(150, 600, 900, 300);    // (10, 40) 60 x 20
    Button.Accessibility({forms::AccessibleRole::PushButton, L"播放", L"", L"按下"});
    Link.Accessibility({forms::AccessibleRole::Link, L"网站", L"http://example.org/", L"跳转"});
    Button.Click = [this] { ++buttonClicks; };
    Link.Click = [this] { ++linkClicks; };
    Stack({&Button, &Art, &Link});
  }
  forms::PictureBox Button{*this}, Art{*this};
  forms::Label Link{*this};
  int buttonClicks = 0, linkClicks = 0;
};

// The window's accessible object, as an inspector reads it.
struct Accessible {
  IAccessible* object = nullptr;
  explicit Accessible(HWND window) {
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  }
  ~Accessible() {
    if (object) object->Release();
  }
};

VARIANT Id(LONG id) {
  VARIANT v{};
  v.vt = VT_I4, v.lVal = id;
  return v;
}

std::wstring Read(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* object, LONG id) {
  BSTR text = nullptr;
  (object->*get)(Id(id), &text);
  std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : L"(none)";
  ::SysFreeString(text);
  return result;
}

void RunQueuedMessages() {
  for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&message);
}

// Whether a button is seen (outside the window, under another) is the program's tests' to check.
TEST(Accessibility, AButtonClicksFromTheQueueAndAWindowlessLinkIsAPartWithItsAddressPlaceAndClick) {
  DescribedForm form;
  form.Show();
  Accessible button(form.Button.hWnd()), art(form.Art.hWnd()), described(form.hWnd());
  ASSERT_TRUE(button.object && art.object && described.object);
  EXPECT_EQ(button.object->accDoDefaultAction(Id(CHILDID_SELF)), S_OK);
  EXPECT_EQ(form.buttonClicks, 0) << "the caller hears back before the click runs";
  RunQueuedMessages();
  EXPECT_EQ(form.buttonClicks, 1);
  EXPECT_EQ(art.object->accDoDefaultAction(Id(CHILDID_SELF)), DISP_E_MEMBERNOTFOUND);

  LONG count = 0, link = 0;
  ASSERT_EQ(described.object->get_accChildCount(&count), S_OK);
  for (LONG id = 1; id <= count; ++id) {
    VARIANT role{};
    if (described.object->get_accRole(Id(id), &role) == S_OK && role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_LINK) link = id;
  }
  ASSERT_NE(link, 0) << "no link among " << count << " children";
  EXPECT_EQ(Read(&IAccessible::get_accName, described.object, link), L"网站");
  EXPECT_EQ(Read(&IAccessible::get_accValue, described.object, link), L"http://example.org/");

  POINT origin{0, 0};
  ::ClientToScreen(form.hWnd(), &origin);
  LONG left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(described.object->accLocation(&left, &top, &width, &height, Id(link)), S_OK);
  EXPECT_EQ((std::vector<LONG>{left - origin.x, top - origin.y, width, height}), (std::vector<LONG>{10, 40, 60, 20}));
  VARIANT hit{};
  ASSERT_EQ(described.object->accHitTest(origin.x + 15, origin.y + 45, &hit), S_OK);
  EXPECT_EQ(hit.vt == VT_I4 ? hit.lVal : -1, link);

  EXPECT_EQ(described.object->accDoDefaultAction(Id(link)), S_OK);
  RunQueuedMessages();
  EXPECT_EQ(form.linkClicks, 1);
}

}  // namespace
