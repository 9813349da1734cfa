// Pictures shown by picture boxes and images: a bitmap, or a GIF kept with its transparency.
#pragma once

#include <windows.h>

#include <memory>

namespace forms {

class Picture {
 public:
  Picture() = default;  // no picture

  // A bitmap resource (RT_BITMAP) of this module.
  static Picture FromBitmapResource(int id);
  // A GIF stored as a resource of type "GIF"; its transparent colour stays transparent.
  static Picture FromGifResource(int id);

  explicit operator bool() const { return impl_ != nullptr; }
  SIZE SizePixels() const;  // {0, 0} for no picture
  void Render(HDC dc, int x, int y) const;
  // A bitmap covers every pixel of its rectangle; a GIF may leave some transparent.
  bool Opaque() const;
  // Both were loaded from the same resource, so they show the same pixels.
  bool SameLook(const Picture& other) const;

  class Impl;

 private:
  struct Source {
    enum class Kind { Bitmap, Gif } kind;
    int id;
  };
  explicit Picture(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<const Impl> impl_;
};

constexpr int vbResBitmap = 0;
// A bitmap resource as a picture to assign to `Picture`; loaded anew on every call.
Picture LoadResPicture(int id, int type);

}  // namespace forms
