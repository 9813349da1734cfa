#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "forms/gif.h"

namespace {

constexpr int kScreenW = 21, kScreenH = 13;
constexpr int kLeft = 4, kTop = 3, kFrameW = 9, kFrameH = 7;
constexpr uint8_t kTransparent = 3;
const uint32_t kColours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

uint8_t IndexAt(int x, int y) { return static_cast<uint8_t>((x + 2 * y) % 4); }

// LZW codes with no compression: a clear code before every second index keeps the table, and so
// the code size, from ever growing.
std::string Lzw(const std::vector<uint8_t>& indices, int minCodeSize) {
  std::string bytes;
  uint32_t bits = 0;
  int count = 0;
  auto put = [&](int code) {
    bits |= static_cast<uint32_t>(code) << count;
    for (count += minCodeSize + 1; count >= 8; count -= 8, bits >>= 8) bytes += static_cast<char>(bits & 0xFF);
  };
  const int clear = 1 << minCodeSize;
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) put(clear);
    put(indices[i]);
  }
  put(clear + 1);
  if (count) bytes += static_cast<char>(bits & 0xFF);
  return bytes;
}

std::string SubBlocks(const std::string& data) {
  std::string blocks;
  for (size_t at = 0; at < data.size(); at += 255) {
    const std::string part = data.substr(at, 255);
    blocks += static_cast<char>(part.size());
    blocks += part;
  }
  return blocks + '\0';
}

void Word(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

// A frame smaller than the screen and off its corner, with its own colour table, interlaced, and
// one colour transparent.
std::string FramedGif() {
  std::string gif = "GIF89a";
  Word(gif, kScreenW);
  Word(gif, kScreenH);
  gif += std::string("\x00\x00\x00", 3);                           // no global colour table
  gif += std::string("\x21\xF9\x04\x01\x00\x00", 6) + static_cast<char>(kTransparent) + '\0';
  gif += '\x2C';
  Word(gif, kLeft);
  Word(gif, kTop);
  Word(gif, kFrameW);
  Word(gif, kFrameH);
  gif += '\xC1';  // a local table of 4 colours, interlaced
  for (uint32_t colour : kColours) {
    gif += static_cast<char>(colour >> 16);
    gif += static_cast<char>(colour >> 8);
    gif += static_cast<char>(colour);
  }
  std::vector<uint8_t> indices;
  for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
    for (int y = start; y < kFrameH; y += step)
      for (int x = 0; x < kFrameW; ++x) indices.push_back(IndexAt(x, y));
  gif += '\x02';
  gif += SubBlocks(Lzw(indices, 2));
  return gif + '\x3B';
}

// What the decoded picture shows at (x, y) from its top left: nothing where it is transparent.
std::optional<uint32_t> Shown(const forms::GifImage& image, int x, int y) {
  const int row = image.height - 1 - y;
  const size_t maskStride = forms::DibStride(image.width, 1);
  if (!image.mask.empty() && (image.mask[row * maskStride + x / 8] & (0x80 >> (x % 8)))) return std::nullopt;
  return image.pixels[static_cast<size_t>(row) * image.width + x];
}

std::optional<uint32_t> Expected(int x, int y) {
  const int fx = x - kLeft, fy = y - kTop;
  if (fx < 0 || fy < 0 || fx >= kFrameW || fy >= kFrameH || IndexAt(fx, fy) == kTransparent) return std::nullopt;
  return kColours[IndexAt(fx, fy)];
}

TEST(GifDecoding, AnInterlacedFrameLandsOnTheScreenInItsOwnColoursWithTheRestTransparent) {
  const std::optional<forms::GifImage> image = forms::DecodeGif(FramedGif());
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, kScreenW);
  ASSERT_EQ(image->height, kScreenH);
  for (int y = 0; y < kScreenH; ++y)
    for (int x = 0; x < kScreenW; ++x) EXPECT_EQ(Shown(*image, x, y), Expected(x, y)) << x << ", " << y;
}

// Cut before the image data begins, the bytes give no picture; cut inside it, a picture of the
// screen's size where the rows that arrived show and the others stay transparent.
TEST(GifDecoding, CutBytesNeverReadPastTheirEndAndKeepWhatArrived) {
  const std::string gif = FramedGif();
  const size_t dataStart = gif.find('\x02', gif.find('\x2C') + 10 + 12);
  for (size_t length = 0; length < gif.size(); ++length) {
    const std::string cut = gif.substr(0, length);  // its own allocation, so reading past it is caught
    const std::optional<forms::GifImage> image = forms::DecodeGif(cut);
    if (length <= dataStart) {
      EXPECT_FALSE(image) << length;
      continue;
    }
    ASSERT_TRUE(image) << length;
    EXPECT_EQ(image->width * image->height, kScreenW * kScreenH);
  }
  // The first pass (rows 0 of the frame) arrives within the first sub-block's first bytes.
  const std::optional<forms::GifImage> early = forms::DecodeGif(gif.substr(0, dataStart + 2 + 12));
  ASSERT_TRUE(early);
  EXPECT_EQ(Shown(*early, kLeft, kTop), Expected(kLeft, kTop));
  EXPECT_EQ(Shown(*early, kLeft + 1, kTop + kFrameH - 1), std::nullopt);
}

TEST(GifDecoding, BytesThatAreNoGifOrAskTooMuchGiveNoPicture) {
  std::string gif = FramedGif();
  EXPECT_FALSE(forms::DecodeGif("GIF89"));
  EXPECT_FALSE(forms::DecodeGif("PNG89a" + gif.substr(6)));
  std::string huge = gif;
  huge[6] = huge[7] = huge[8] = huge[9] = '\xFF';  // 65535 x 65535
  EXPECT_FALSE(forms::DecodeGif(huge));
  std::string noColours = gif;
  noColours[gif.find('\xC1')] = '\x41';  // no local table either: nothing names the colours
  EXPECT_FALSE(forms::DecodeGif(noColours));
}

// A code the table does not hold yet ends the image there: what came before shows.
TEST(GifDecoding, ACodeBeyondTheTableEndsTheImageThere) {
  std::string gif = FramedGif();
  const size_t data = gif.find('\x02', gif.find('\x2C') + 10 + 12) + 2;
  // Clear, first index, then code 7 where only 6 can follow: three codes of 3 bits.
  const uint32_t codes = 4 | IndexAt(0, 0) << 3 | 7 << 6;
  gif[data] = static_cast<char>(codes & 0xFF);
  gif[data + 1] = static_cast<char>(codes >> 8);
  const std::optional<forms::GifImage> image = forms::DecodeGif(gif);
  ASSERT_TRUE(image);
  EXPECT_EQ(Shown(*image, kLeft, kTop), Expected(kLeft, kTop));
  for (int x = kLeft + 1; x < kLeft + kFrameW; ++x) EXPECT_EQ(Shown(*image, x, kTop), std::nullopt) << x;
}

}  // namespace
