#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/gif.h"

namespace {

// A 9 x 7 frame at (4, 3) of a 21 x 13 screen, interlaced, with its own four colours, the last
// transparent. Its LZW codes are uncompressed: a clear code before every second index keeps the
// code size at 3 bits.
constexpr int kLeft = 4, kTop = 3, kFrameW = 9, kFrameH = 7;
const uint32_t kColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
int IndexAt(int x, int y) { return (x + 2 * y) % 4; }

std::string FramedGif() {
  std::string codes;
  uint32_t bits = 0;
  int count = 0;
  auto put = [&](int code) {
    bits |= static_cast<uint32_t>(code) << count;
    for (count += 3; count >= 8; count -= 8, bits >>= 8) codes += static_cast<char>(bits);
  };
  int written = 0;
  for (int start : {0, 4, 2, 1})
    for (int y = start; y < kFrameH; y += start ? start * 2 : 8)
      for (int x = 0; x < kFrameW; ++x, ++written) {
        if (written % 2 == 0) put(4);
        put(IndexAt(x, y));
      }
  put(5);
  codes += static_cast<char>(bits);
  std::string gif("GIF89a\x15\0\x0D\0\0\0\0" "\x21\xF9\x04\x01\0\0\x03\0" "\x2C\x04\0\x03\0\x09\0\x07\0\xC1", 31);
  for (uint32_t c : kColours) gif += {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)};
  return gif + '\x02' + static_cast<char>(codes.size()) + codes + '\0' + '\x3B';
}
const size_t kDataStart = 31 + 12;  // the LZW code size byte

// What the picture shows at (x, y) from its top left; nothing where it is transparent.
std::optional<uint32_t> Shown(const forms::GifImage& image, int x, int y) {
  const int row = image.height - 1 - y;
  const size_t stride = static_cast<size_t>(forms::DibStride(image.width, 1));
  if (!image.mask.empty() && (image.mask[row * stride + x / 8] & (0x80 >> (x % 8)))) return std::nullopt;
  return image.pixels[static_cast<size_t>(row) * image.width + x];
}

std::optional<uint32_t> Expected(int x, int y) {
  const int fx = x - kLeft, fy = y - kTop;
  if (fx < 0 || fy < 0 || fx >= kFrameW || fy >= kFrameH || IndexAt(fx, fy) == 3) return std::nullopt;
  return kColours[IndexAt(fx, fy)];
}

TEST(GifDecoding, AnInterlacedFrameShowsInItsColoursAndACutOrBadCodeKeepsWhatCameBefore) {
  const std::string gif = FramedGif();
  const std::optional<forms::GifImage> whole = forms::DecodeGif(gif);
  ASSERT_TRUE(whole && whole->width == 21 && whole->height == 13);
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 21; ++x) EXPECT_EQ(Shown(*whole, x, y), Expected(x, y)) << x << ", " << y;
  // Cut anywhere (its own allocation, so a read past the end is caught): no picture before the
  // image data, the screen after it. 12 bytes of codes bring the first pass, row 0, not row 6.
  for (size_t length = 0; length < gif.size(); ++length) {
    const std::optional<forms::GifImage> cut = forms::DecodeGif(gif.substr(0, length));
    EXPECT_EQ(cut.has_value(), length > kDataStart) << length;
  }
  const std::optional<forms::GifImage> early = forms::DecodeGif(gif.substr(0, kDataStart + 2 + 12));
  ASSERT_TRUE(early);
  EXPECT_EQ(Shown(*early, kLeft, kTop), Expected(kLeft, kTop));
  EXPECT_EQ(Shown(*early, kLeft + 1, kTop + 6), std::nullopt);
  // Clear, an index, then code 7 where only 6 can follow: the image ends after that index.
  std::string bad = gif;
  const uint32_t codes = 4 | IndexAt(0, 0) << 3 | 7 << 6;
  bad[kDataStart + 2] = static_cast<char>(codes);
  bad[kDataStart + 3] = static_cast<char>(codes >> 8);
  const std::optional<forms::GifImage> stopped = forms::DecodeGif(bad);
  ASSERT_TRUE(stopped);
  EXPECT_EQ(Shown(*stopped, kLeft, kTop), Expected(kLeft, kTop));
  EXPECT_EQ(Shown(*stopped, kLeft + 1, kTop), std::nullopt);
}

TEST(GifDecoding, BytesThatAreNoGifOrAskTooMuchGiveNoPicture) {
  const std::string gif = FramedGif();
  std::string huge = gif, noColours = gif;
  huge.replace(6, 4, "\xFF\xFF\xFF\xFF");  // 65535 x 65535
  noColours[30] = '\x41';                  // no local table, and no global one names the colours
  for (const std::string& bytes : {std::string("GIF89"), "PNG89a" + gif.substr(6), huge, noColours})
    EXPECT_FALSE(forms::DecodeGif(bytes));
}

}  // namespace
