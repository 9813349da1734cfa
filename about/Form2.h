// The about window: name and version, the maker's notices and site, a text box with the credits
// notice, the version history or the thanks note, and two hot spots on the banner with a sound.
// Members are defined in Form2_layout.cpp (the layout table and stored values), Form2.cpp (load
// and the handlers) and Form2_texts.cpp (the texts kept in the resources).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/forms.h"

namespace sonbrel {

// Label1's caption: "<title> 正式版 (<major>.<minor>.<revision>)".
std::wstring NameAndVersion(const std::wstring& title, int major, int minor, int revision);
// A text resource of type "TEXT" (UTF-8) as the text box wants it: CR LF line ends, no line
// end after the last line. Empty when the resource is missing or not UTF-8.
std::wstring TextResource(int id);

class Form2 : public forms::Form {
 public:
  Form2();

  static constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
  static constexpr COLORREF kPressedRed = RGB(255, 0, 0);

  // Controls, front to back.
  forms::TextBox Text2{*this};
  forms::TextBox Text3{*this};
  forms::CommandButton Command2{*this};
  forms::TextBox Text1{*this};
  forms::CommandButton Command1{*this};
  forms::Label Label2{*this};
  forms::Image Image3{*this};
  forms::SoundObject OLE1{*this};
  forms::Image Image2{*this};
  forms::Image Image1{*this};
  forms::Line Line2{*this};
  forms::Label Label4{*this};
  forms::Line Line1{*this};
  forms::Label Label3{*this};
  forms::Label Label1{*this};

  void Command1_Click();
  void Command2_Click();
  void Image3_Click();
  void Image2_DblClick();
  void Label4_Click();
  void Label4_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
  void Label4_MouseUp(int16_t Button, int16_t Shift, float X, float Y);

 protected:
  void Form_Load() override;

 private:
  void PlaceControls();
  void TakeStoredValues();
  void ConnectHandlers();
};

}  // namespace sonbrel
