#include "support/user_input.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "forms/handles.h"
#include "support/window_probe.h"

namespace support {
namespace {

constexpr DWORD kSettleMs = 40;

void Settle() {
  WaitFor([] { return false; }, kSettleMs);
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
  Settle();
}

DWORD DownFlag(MouseButton button) {
  switch (button) {
    case MouseButton::Right:
      return MOUSEEVENTF_RIGHTDOWN;
    case MouseButton::Middle:
      return MOUSEEVENTF_MIDDLEDOWN;
    default:
      return MOUSEEVENTF_LEFTDOWN;
  }
}

// Each button's release flag is the bit above its press flag.
static_assert(MOUSEEVENTF_LEFTUP == MOUSEEVENTF_LEFTDOWN << 1 && MOUSEEVENTF_RIGHTUP == MOUSEEVENTF_RIGHTDOWN << 1 &&
              MOUSEEVENTF_MIDDLEUP == MOUSEEVENTF_MIDDLEDOWN << 1);
DWORD UpFlag(MouseButton button) { return DownFlag(button) << 1; }

// Copies width x height pixels from `source` at (x, y) into a 24-bit top-down DIB section.
Pixels Capture(HDC source, int x, int y, int width, int height) {
  Pixels pixels;
  if (width <= 0 || height <= 0) return pixels;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  forms::UniqueBitmap dib(::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  forms::UniqueMemoryDc memory(::CreateCompatibleDC(source));
  if (!dib || !memory) return pixels;
  HGDIOBJ previous = ::SelectObject(memory.Get(), dib.Get());
  ::BitBlt(memory.Get(), 0, 0, width, height, source, x, y, SRCCOPY);
  ::GdiFlush();
  ::SelectObject(memory.Get(), previous);

  pixels.width = width;
  pixels.height = height;
  pixels.colors.reserve(static_cast<size_t>(width) * height);
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const auto* row = static_cast<const BYTE*>(bits);
  for (int r = 0; r < height; ++r, row += stride) {
    for (int c = 0; c < width; ++c) {
      const BYTE* bgr = row + static_cast<size_t>(c) * 3;
      pixels.colors.push_back(RGB(bgr[2], bgr[1], bgr[0]));
    }
  }
  return pixels;
}

}  // namespace

LONG NormalisedCoordinate(int pixel, int screenOrigin, int screenExtent) {
  const long long offset = pixel - screenOrigin;
  return static_cast<LONG>((offset * 65536 + 32768) / screenExtent);
}

void MovePointerTo(POINT p) {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
            NormalisedCoordinate(p.x, left, width), NormalisedCoordinate(p.y, top, height));
}

void PressButton(MouseButton button) { SendMouse(DownFlag(button)); }

void ReleaseButton(MouseButton button) { SendMouse(UpFlag(button)); }

void Click(MouseButton button) {
  PressButton(button);
  ReleaseButton(button);
}

void DoubleClick() {
  Click();
  Click();
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
  Settle();
}

Pixels ReadScreen(const RECT& rect) {
  forms::WindowDc screen(nullptr);
  return Capture(screen.Get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

Pixels BitmapResource(const std::wstring& modulePath, int id) {
  forms::UniqueModule module(::LoadLibraryExW(
      modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) return {};
  forms::UniqueBitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(module.Get(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) return {};
  BITMAP info{};
  ::GetObjectW(bitmap.Get(), sizeof info, &info);
  forms::WindowDc screen(nullptr);
  forms::UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
  HGDIOBJ previous = ::SelectObject(memory.Get(), bitmap.Get());
  Pixels pixels = Capture(memory.Get(), 0, 0, info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
  ::SelectObject(memory.Get(), previous);
  return pixels;
}

int DifferingPixels(const Pixels& a, const Pixels& b) {
  if (a.colors.empty() || a.width != b.width || a.height != b.height) return -1;
  int differing = 0;
  for (size_t i = 0; i < a.colors.size(); ++i) differing += a.colors[i] != b.colors[i];
  return differing;
}

Pixels DrawnOn(SIZE size, COLORREF backdrop, const std::function<void(HDC)>& draw) {
  forms::WindowDc screen(nullptr);
  forms::UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
  forms::UniqueBitmap canvas(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
  HGDIOBJ previous = ::SelectObject(memory.Get(), canvas.Get());
  const RECT all{0, 0, size.cx, size.cy};
  ::SetDCBrushColor(memory.Get(), backdrop);
  ::FillRect(memory.Get(), &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  draw(memory.Get());
  Pixels pixels = Capture(memory.Get(), 0, 0, size.cx, size.cy);
  ::SelectObject(memory.Get(), previous);
  return pixels;
}

Pixels SystemDrawnGif(const std::wstring& modulePath, int id, COLORREF backdrop) {
  forms::UniqueModule module(::LoadLibraryExW(
      modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  HRSRC found = module ? ::FindResourceW(module.Get(), MAKEINTRESOURCEW(id), L"GIF") : nullptr;
  if (!found) return {};
  // The stream owns its copy of the bytes once it is made.
  const DWORD size = ::SizeofResource(module.Get(), found);
  HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return {};
  std::memcpy(::GlobalLock(copy), ::LockResource(::LoadResource(module.Get(), found)), size);
  ::GlobalUnlock(copy);
  forms::ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, stream.Put()))) {
    ::GlobalFree(copy);
    return {};
  }
  ::CoInitialize(nullptr);
  forms::ComPtr<IPicture> picture;
  if (FAILED(::OleLoadPicture(stream.Get(), 0, FALSE, IID_IPicture, reinterpret_cast<void**>(picture.Put())))) return {};
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture->get_Width(&w);
  picture->get_Height(&h);
  const forms::WindowDc screen(nullptr);
  const SIZE pixels{::MulDiv(w, ::GetDeviceCaps(screen.Get(), LOGPIXELSX), 2540),
                    ::MulDiv(h, ::GetDeviceCaps(screen.Get(), LOGPIXELSY), 2540)};
  // The source rectangle runs bottom-up in HIMETRIC.
  return DrawnOn(pixels, backdrop, [&](HDC dc) { picture->Render(dc, 0, 0, pixels.cx, pixels.cy, 0, h, w, -h, nullptr); });
}

double GifShareShown(HWND window, POINT inWindow, const std::wstring& modulePath, int id) {
  // A pixel the picture covers comes out the same on black and on white.
  const Pixels onBlack = SystemDrawnGif(modulePath, id, RGB(0, 0, 0));
  const Pixels onWhite = SystemDrawnGif(modulePath, id, RGB(255, 255, 255));
  RECT frame{};
  ::GetWindowRect(window, &frame);
  const Pixels shown = ReadScreen({frame.left + inWindow.x, frame.top + inWindow.y,
                                   frame.left + inWindow.x + onBlack.width, frame.top + inWindow.y + onBlack.height});
  if (onBlack.colors.empty() || DifferingPixels(onBlack, shown) < 0) return -1;
  const forms::UniqueRegion shape = WindowRegion(window);
  int covered = 0, same = 0;
  for (int y = 0; y < onBlack.height; ++y) {
    for (int x = 0; x < onBlack.width; ++x) {
      if (onBlack.At(x, y) != onWhite.At(x, y)) continue;
      if (shape && !::PtInRegion(shape.Get(), inWindow.x + x, inWindow.y + y)) continue;
      ++covered;
      same += shown.At(x, y) == onBlack.At(x, y);
    }
  }
  return covered ? static_cast<double>(same) / covered : -1;
}

bool ScreenShowsBitmap(POINT topLeft, const std::wstring& modulePath, int id) {
  const Pixels expected = BitmapResource(modulePath, id);
  const RECT area{topLeft.x, topLeft.y, topLeft.x + expected.width, topLeft.y + expected.height};
  return DifferingPixels(ReadScreen(area), expected) == 0;
}

}  // namespace support
