#include "about/Form2.h"

#include "shared/shell_open.h"
#include "shared/web_host.h"

namespace sonbrel {

std::wstring NameAndVersion(const std::wstring& title, int major, int minor, int revision) {
  return title + L" 正式版 (" + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
         std::to_wstring(revision) + L")";
}

void Form2::Form_Load() {
  TakeStoredValues();
  const forms::Application& app = forms::App();
  Caption(L"关于 " + app.Title());
  Label1.Caption(NameAndVersion(app.Title(), app.Major(), app.Minor(), app.Revision()));
}

void Form2::Command1_Click() { Unload(); }

void Form2::Command2_Click() { Text1.Text(Text2.Text()); }

// A sound that cannot play stays silent; there is nothing to tell the user.
void Form2::Image3_Click() {
  OLE1.Action(forms::vbOLEActivate);
  Show();
}

void Form2::Image2_DblClick() {
  OLE1.Action(forms::vbOLEActivate);
  Show();
  Text1.Text(Text3.Text());
}

// Any button: the link shows it is being pressed, whichever it is.
void Form2::Label4_MouseDown(int16_t Button, int16_t Shift, float X, float Y) {
  (void)Button, (void)Shift, (void)X, (void)Y;
  Label4.ForeColor(kPressedRed);
}

void Form2::Label4_MouseUp(int16_t Button, int16_t Shift, float X, float Y) {
  (void)Button, (void)Shift, (void)X, (void)Y;
  Label4.ForeColor(kLinkBlue);
}

void Form2::Label4_Click() { OpenInDefaultBrowser(WebAddress(L"/")); }

}  // namespace sonbrel
