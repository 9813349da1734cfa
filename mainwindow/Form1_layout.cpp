// The main window's stored layout: every control in stacking order with its geometry (twips),
// visibility at start and stored picture; the buttons' tips and looks are in their own table.
#include <iterator>

#include "mainwindow/Form1.h"
#include "resources/resource_ids.h"
#include "shared/application.h"

namespace sonbrel {

namespace {

// Looks: the button table gives the picture, the button's normal look.
enum class Format { Bitmap, Gif, Looks };

struct PictureRow {
  forms::PictureBox Form1::*control;
  float left, top, width, height;
  bool visible;
  Format format;
  int resourceId;
  // The playlist tab and the logo can be clicked: they show the hand.
  bool hand;
};

// Front to back; the command button lies before them all and the browser control behind them.
const PictureRow kPictureRows[] = {
    {&Form1::Picture21, 4290, 2475, 255, 285, true, Format::Looks, 0, false},
    {&Form1::Picture20, 3150, 20, 180, 150, false, Format::Looks, 0, false},
    {&Form1::Picture18, 3330, 20, 180, 150, false, Format::Looks, 0, false},
    {&Form1::Picture17, 0, 360, 3540, 15, false, Format::Bitmap, IDB_PICTURE17, false},
    {&Form1::Picture12, 3330, 180, 180, 150, false, Format::Looks, 0, false},
    {&Form1::Picture13, 4290, 60, 255, 285, true, Format::Looks, 0, false},
    {&Form1::Picture11, 4020, 60, 255, 285, true, Format::Looks, 0, false},
    {&Form1::Picture8, 0, 2370, 4620, 435, true, Format::Bitmap, IDB_PICTURE8, false},
    {&Form1::Picture7, 4510, 1490, 105, 960, true, Format::Bitmap, IDB_PICTURE7, false},
    {&Form1::Picture6, 0, 1490, 90, 960, true, Format::Bitmap, IDB_PICTURE6, false},
    {&Form1::Picture2, 3240, 1490, 1395, 360, true, Format::Gif, IDG_PLAYLIST_TAB, true},
    {&Form1::Picture1, 3240, 1490, 1395, 360, true, Format::Gif, IDG_PLAYLIST_TAB, true},
    {&Form1::Picture9, 4080, 1850, 645, 570, true, Format::Gif, IDG_LOGO, true},
    {&Form1::Picture10, 3750, 60, 255, 285, true, Format::Looks, 0, false},
    {&Form1::Picture16, 0, 0, 3540, 15, false, Format::Bitmap, IDB_PICTURE16, false},
    {&Form1::Picture14, 0, 0, 435, 375, false, Format::Bitmap, IDB_PICTURE14, false},
    {&Form1::Picture3, -10, -20, 1125, 450, true, Format::Bitmap, IDB_PICTURE3, false},
    {&Form1::Picture19, 3150, 180, 180, 150, false, Format::Looks, 0, false},
    {&Form1::Picture15, 3140, 0, 405, 375, false, Format::Bitmap, IDB_PICTURE15, false},
    {&Form1::Picture5, 840, -20, 2610, 450, true, Format::Bitmap, IDB_PICTURE5, false},
    {&Form1::Picture4, 3100, -20, 1530, 450, true, Format::Bitmap, IDB_PICTURE4, false},
};

forms::Picture StoredPicture(Format format, int id) {
  return format == Format::Gif ? forms::Picture::FromGifResource(id)
                               : forms::Picture::FromBitmapResource(id);
}

forms::FormLayout MainWindowLayout() {
  return {.caption = kApplicationTitle,
          .border = forms::BorderStyle::None,
          .clientWidth = 4620,
          .clientHeight = 2415,
          .left = 3945,
          .top = 2025,
          .startUpPosition = forms::StartUpPosition::Manual,
          .showInTaskbar = true,
          .iconResourceId = IDI_PROGRAM,
          .backColor = RGB(223, 233, 246)};
}

}  // namespace

Form1::Form1() : forms::Form(MainWindowLayout()) {
  PlaceControls();
  ConnectHandlers();
}

void Form1::PlaceControls() {
  std::vector<forms::Control*> stack{&Command1};
  for (const PictureRow& row : kPictureRows) {
    forms::PictureBox& box = this->*row.control;
    box.Move(row.left, row.top, row.width, row.height);
    box.Visible(row.visible);
    if (row.format != Format::Looks) box.Picture(StoredPicture(row.format, row.resourceId));
    if (row.hand) {
      box.MousePointer(forms::MousePointer::Custom);
      box.MouseIcon(IDC_HAND_POINTER);
    }
    stack.push_back(&box);
  }
  stack.push_back(&html);
  Stack(std::move(stack));

  Command1.Move(4260, 440, 255, 285);
  Command1.Visible(false);
  Command1.ToolTipText(L"刷新");
  Command1.Caption(L"q");  // circling arrows in Webdings
  Command1.Font({L"Webdings", 9, false, SYMBOL_CHARSET});

  html.Move(-50, -40, 4850, 8615);
}

void Form1::ConnectHandlers() {
  Command1.Click = [this] { Command1_Click(); };
  Picture6.DblClick = [this] { Picture6_DblClick(); };
  Timer1.Tick = [this] { Timer1_Timer(); };
  ConnectSkinButtons();
  ConnectDragAreas();
}

}  // namespace sonbrel
