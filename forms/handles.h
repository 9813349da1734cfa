// Move-only owners for the handles the program holds. A handover to the system
// (SetWindowRgn takes the region) is explicit: Release() gives up ownership.
#pragma once

#include <windows.h>

#include <utility>

namespace forms {

template <class Handle, class Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Traits::Empty())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, Traits::Empty()));
    return *this;
  }
  ~Unique() { Reset(); }

  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Empty(); }
  Handle Release() { return std::exchange(h_, Traits::Empty()); }
  void Reset(Handle h = Traits::Empty()) {
    if (h_ != Traits::Empty()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::Empty();
};

template <class T>
struct GdiTraitsOf {
  static T Empty() { return nullptr; }
  static void Close(T h) { ::DeleteObject(h); }
};
struct KernelTraits {
  static HANDLE Empty() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct IconTraits {
  static HICON Empty() { return nullptr; }
  static void Close(HICON h) { ::DestroyIcon(h); }
};
struct MemoryDcTraits {
  static HDC Empty() { return nullptr; }
  static void Close(HDC dc) { ::DeleteDC(dc); }
};
struct ModuleTraits {
  static HMODULE Empty() { return nullptr; }
  static void Close(HMODULE module) { ::FreeLibrary(module); }
};
struct WindowTraits {
  static HWND Empty() { return nullptr; }
  static void Close(HWND h) { ::DestroyWindow(h); }
};

using UniqueRegion = Unique<HRGN, GdiTraitsOf<HRGN>>;
using UniqueBitmap = Unique<HBITMAP, GdiTraitsOf<HBITMAP>>;
using UniqueFont = Unique<HFONT, GdiTraitsOf<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiTraitsOf<HBRUSH>>;
using UniqueKernelHandle = Unique<HANDLE, KernelTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueMemoryDc = Unique<HDC, MemoryDcTraits>;  // from CreateCompatibleDC
using UniqueModule = Unique<HMODULE, ModuleTraits>;

// A window's drawing context (the screen's for nullptr), released with the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Owning COM pointer.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters: releases what is held first.
  T** Put() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

}  // namespace forms
