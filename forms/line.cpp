#include <windows.h>

#include <algorithm>

#include "forms/app.h"
#include "forms/controls.h"
#include "forms/runtime_detail.h"

namespace forms {
namespace {

using UniquePen = Unique<HPEN, GdiTraitsOf<HPEN>>;

}  // namespace

void Line::Points(float x1, float y1, float x2, float y2) {
  Changing();
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  Relayout();
}

void Line::Paint(HDC dc) const {
  UniquePen pen(::CreatePen(PS_SOLID, borderWidth_, ::GetSysColor(colorIndex_)));
  SelectedObject selected(dc, pen.Get());
  ::MoveToEx(dc, TwipsToPixelsX(x1_), TwipsToPixelsY(y1_), nullptr);
  ::LineTo(dc, TwipsToPixelsX(x2_), TwipsToPixelsY(y2_));
}

RECT Line::PixelRect() const {
  const int ax = TwipsToPixelsX(x1_), ay = TwipsToPixelsY(y1_);
  const int bx = TwipsToPixelsX(x2_), by = TwipsToPixelsY(y2_);
  const int pen = std::max(borderWidth_, 1);
  return RECT{std::min(ax, bx) - pen, std::min(ay, by) - pen, std::max(ax, bx) + pen,
              std::max(ay, by) + pen};
}

}  // namespace forms
