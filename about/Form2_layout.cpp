// The about window's stored layout: every control in stacking order with its geometry (twips)
// and the values it starts with at each load.
#include <windows.h>

#include "about/Form2.h"
#include "resources/resource_ids.h"
#include "shared/web_host.h"

namespace sonbrel {

namespace {

forms::FormLayout AboutWindowLayout() {
  return {.caption = L"Form2",  // replaced at load, before the window is shown
          .border = forms::BorderStyle::FixedSingle,
          .clientWidth = 5610,
          .clientHeight = 3825,
          .left = 4335,
          .top = 2700,
          .startUpPosition = forms::StartUpPosition::Manual,
          .showInTaskbar = true,
          .iconResourceId = IDI_PROGRAM,
          .backColor = ::GetSysColor(COLOR_BTNFACE)};
}

}  // namespace

Form2::Form2() : forms::Form(AboutWindowLayout()) {
  PlaceControls();
  ConnectHandlers();
}

void Form2::PlaceControls() {
  Stack({&Text2, &Text3, &Command2, &Text1, &Command1, &Label2, &Image3, &OLE1, &Image2, &Image1,
         &Line2, &Label4, &Line1, &Label3, &Label1});

  Text2.Move(3600, 2880, 975, 180);
  Text2.Visible(false);
  Text3.Move(4320, 2880, 735, 180);
  Text3.Visible(false);
  Command2.Move(3360, 3360, 975, 375);
  Command2.Caption(L"更新日志");
  Text1.Move(240, 2160, 5190, 1005);
  Command1.Move(4440, 3360, 975, 375);
  Command1.Caption(L"确定");
  Label2.Move(240, 1440, 2055, 255);
  Label2.Caption(L"Harlune 保留所有权利");
  Image3.Move(120, 120, 615, 615);
  OLE1.Move(0, 3360, 495, 495);
  OLE1.Visible(false);
  OLE1.WaveResource(IDW_ABOUT_SOUND);
  Image2.Move(5040, 480, 255, 255);
  Image1.Move(0, 0, 5610, 975);
  Image1.Picture(forms::Picture::FromBitmapResource(IDB_BANNER));
  Line2.Points(5520, 3240, 0, 3240);
  Line2.BorderColor(COLOR_3DLIGHT);
  Label4.Move(240, 1920, 2415, 255);
  Label4.Caption(WebAddress(L""));
  Label4.Font({L"宋体", 9, true, GB2312_CHARSET});
  Label4.MouseIcon(IDC_HAND_POINTER);
  // Read as a link to where its click goes.
  Label4.Accessibility({forms::AccessibleRole::Link, Label4.Caption(), WebAddress(L"/"), L"跳转"});
  Line1.Points(20, 3240, 5520, 3240);
  Line1.BorderWidth(2);
  Line1.BorderColor(COLOR_3DDKSHADOW);
  Label3.Move(240, 1680, 5295, 255);
  Label3.Caption(L"版权所有 (C) 2007-2008 Harlune网络工作室");
  Label1.Move(240, 1200, 4935, 255);
}

// What every load starts from, so that showing the window again after an unload looks like the
// first time (the controls keep their values while the window is gone).
void Form2::TakeStoredValues() {
  Text1.Text(TextResource(IDT_CREDITS));
  Text2.Text(TextResource(IDT_HISTORY));
  Text3.Text(TextResource(IDT_THANKS));
  Label4.ForeColor(kLinkBlue);
  Label1.Caption(L"程序名称、版本");
}

void Form2::ConnectHandlers() {
  Command1.Click = [this] { Command1_Click(); };
  Command2.Click = [this] { Command2_Click(); };
  Image3.Click = [this] { Image3_Click(); };
  Image2.DblClick = [this] { Image2_DblClick(); };
  Label4.Click = [this] { Label4_Click(); };
  Label4.MouseDown = [this](int16_t b, int16_t s, float x, float y) { Label4_MouseDown(b, s, x, y); };
  Label4.MouseUp = [this](int16_t b, int16_t s, float x, float y) { Label4_MouseUp(b, s, x, y); };
}

}  // namespace sonbrel
