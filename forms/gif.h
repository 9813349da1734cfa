// The first image of a GIF, decoded for drawing with GDI: no OLE or imaging codec is loaded for it,
// which keeps them out of the start-up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace forms {

struct GifImage {
  int width = 0, height = 0;  // the logical screen's
  // 32-bit DIB rows, bottom-up; a transparent pixel is black, so the colours can be ORed in.
  std::vector<uint32_t> pixels;
  // 1-bit DIB rows, bottom-up, set where the picture is transparent; empty when nothing is.
  std::vector<uint8_t> mask;
};

// Bytes that are not a GIF give nothing; a GIF whose image data ends early or goes wrong gives
// the pixels before that point, as browsers show it.
std::optional<GifImage> DecodeGif(std::string_view bytes);

// Bytes per row of a DIB with this many pixels of this many bits.
inline uint64_t DibStride(uint64_t width, unsigned bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

}  // namespace forms
