// The skin's buttons, one row each, and their looks: pressed under a left press, normal at its
// release, hover under the pointer; a move over one button (or over the area around a group) sets
// the others of its group back to normal, so no hover look lingers when the pointer passes on.
#include "mainwindow/Form1.h"
#include "resources/resource_ids.h"

namespace sonbrel {

namespace {

constexpr int kNormal = 0;
constexpr int kHover = 1;
constexpr int kPressed = 2;

using enum ButtonGroup;

// Each group in the order its looks are set back to normal.
constexpr Form1::SkinButton kSkinButtons[] = {
    {&Form1::Picture10, IDB_MINIMIZE_NORMAL, TitleStrip, L"最小化", &Form1::Picture10_Click},
    {&Form1::Picture11, IDB_MINIMODE_NORMAL, TitleStrip, L"迷你模式", &Form1::Picture11_Click},
    {&Form1::Picture13, IDB_CLOSE_NORMAL, TitleStrip, L"退出", &Form1::Picture13_Click},
    {&Form1::Picture12, IDB_MINI_NORMALMODE_NORMAL, MiniBar, L"普通模式", &Form1::Picture12_Click},
    {&Form1::Picture18, IDB_MINI_EXIT_NORMAL, MiniBar, L"退出", &Form1::Picture18_Click},
    {&Form1::Picture19, IDB_MINI_MINIMIZE_NORMAL, MiniBar, L"最小化", &Form1::Picture19_Click},
    {&Form1::Picture20, IDB_MINI_ABOUT_NORMAL, MiniBar, L"关于", &Form1::Picture20_Click},
    {&Form1::Picture21, IDB_CLOSE_NORMAL, Panel, L"关闭播放列表", &Form1::Picture21_Click},
    {&Form1::Picture2, 0, None, L"打开/关闭播放列表", &Form1::Picture2_Click},
    {&Form1::Picture1, 0, None, L"", &Form1::Picture1_Click},
    {&Form1::Picture9, 0, None, L"关于", &Form1::Picture9_Click},
};

}  // namespace

std::span<const Form1::SkinButton> Form1::SkinButtons() { return kSkinButtons; }

void Form1::ShowLook(const SkinButton& button, int look) {
  (this->*button.control).Picture(forms::LoadResPicture(button.looks + look, forms::vbResBitmap));
}

void Form1::ResetLooks(ButtonGroup group) {
  for (const SkinButton& button : kSkinButtons) {
    if (button.group == group && button.looks) ShowLook(button, kNormal);
  }
}

void Form1::SkinButton_MouseDown(const SkinButton& button, int16_t Button) {
  if (Button == forms::vbLeftButton) ShowLook(button, kPressed);
}

void Form1::SkinButton_MouseUp(const SkinButton& button, int16_t Button) {
  if (Button == forms::vbLeftButton) ShowLook(button, kNormal);
}

// Whatever buttons are held: a pressed look turns into hover on the first move.
void Form1::SkinButton_MouseMove(const SkinButton& button) {
  ShowLook(button, kHover);
  for (const SkinButton& other : kSkinButtons) {
    if (other.group == button.group && other.looks && &other != &button) ShowLook(other, kNormal);
  }
}

// Each button starts with its normal look and its tip; the clicks go to the row's action.
void Form1::ConnectSkinButtons() {
  for (const SkinButton& button : kSkinButtons) {
    forms::PictureBox& box = this->*button.control;
    box.ToolTipText(button.toolTip);
    box.Click = [this, &button] { (this->*button.click)(); };
    if (!button.looks) continue;
    ShowLook(button, kNormal);
    box.MouseDown = [this, &button](int16_t Button, int16_t, float, float) { SkinButton_MouseDown(button, Button); };
    box.MouseUp = [this, &button](int16_t Button, int16_t, float, float) { SkinButton_MouseUp(button, Button); };
    box.MouseMove = [this, &button](int16_t, int16_t, float, float) { SkinButton_MouseMove(button); };
  }
}

}  // namespace sonbrel
