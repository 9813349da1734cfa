#include "forms/gif.h"

#include <algorithm>
#include <array>
#include <string>

namespace forms {

namespace {

// Far beyond any picture of a skin; bounds what damaged bytes can make us allocate.
constexpr size_t kMaxPixels = 4096 * 4096;
constexpr int kMaxCodes = 4096;  // LZW codes are at most 12 bits

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool Failed() const { return failed_; }
  uint8_t Byte() {
    if (at_ >= bytes_.size()) {
      failed_ = true;
      return 0;
    }
    return static_cast<uint8_t>(bytes_[at_++]);
  }
  int Word() {
    const int low = Byte();
    return low | Byte() << 8;
  }
  std::string_view Take(size_t count) {
    if (bytes_.size() - at_ < count) {
      failed_ = true;
      count = bytes_.size() - at_;
    }
    const std::string_view taken = bytes_.substr(at_, count);
    at_ += count;
    return taken;
  }
  // A run of data sub-blocks, joined; a run cut short keeps what is there.
  std::string SubBlocks() {
    std::string joined;
    while (const uint8_t size = Byte()) joined += Take(size);
    return joined;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
  bool failed_ = false;
};

using Colours = std::array<uint32_t, 256>;

// A table's size is given as the exponent less one; a missing entry shows black.
Colours ReadColours(Reader& in, int sizeBits) {
  Colours colours{};
  for (int i = 0; i < 2 << sizeBits; ++i) {
    const uint32_t r = in.Byte(), g = in.Byte(), b = in.Byte();
    colours[i] = r << 16 | g << 8 | b;
  }
  return colours;
}

// Unpacks LZW codes into at most out.size() colour indices; stops at the end code, at a code the
// table does not hold yet, or where the data ends. Returns how many indices it wrote.
size_t Unpack(std::string_view data, int minCodeSize, std::vector<uint8_t>& out) {
  if (minCodeSize < 2 || minCodeSize > 8) return 0;
  const int clear = 1 << minCodeSize, end = clear + 1;
  std::array<uint16_t, kMaxCodes> prefix{};
  std::array<uint8_t, kMaxCodes> suffix{};
  std::array<uint8_t, kMaxCodes + 1> backwards{};  // one entry's indices, last first
  int codeSize = minCodeSize + 1, next = end + 1, previous = -1;
  uint8_t firstOfPrevious = 0;
  uint32_t bits = 0;
  int bitCount = 0;
  size_t at = 0, written = 0;
  while (written < out.size()) {
    while (bitCount < codeSize) {
      if (at == data.size()) return written;
      bits |= static_cast<uint32_t>(static_cast<uint8_t>(data[at++])) << bitCount;
      bitCount += 8;
    }
    const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
    bits >>= codeSize;
    bitCount -= codeSize;
    if (code == clear) {
      codeSize = minCodeSize + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) return written;
    if (previous < 0) {
      if (code > clear) return written;
      out[written++] = firstOfPrevious = static_cast<uint8_t>(code);
      previous = code;
      continue;
    }
    if (code > next) return written;  // at most 12 bits, so never beyond a full table
    int depth = 0, walk = code;
    if (code == next) {  // the entry being made: the previous one and its own first index
      backwards[depth++] = firstOfPrevious;
      walk = previous;
    }
    // Every entry's prefix is an earlier code, so the walk ends within the table's size.
    while (walk > end) {
      backwards[depth++] = suffix[walk];
      walk = prefix[walk];
    }
    backwards[depth++] = static_cast<uint8_t>(walk);
    if (next < kMaxCodes) {
      prefix[next] = static_cast<uint16_t>(previous);
      suffix[next] = static_cast<uint8_t>(walk);
      if (++next == 1 << codeSize && codeSize < 12) ++codeSize;
    }
    firstOfPrevious = static_cast<uint8_t>(walk);
    while (depth && written < out.size()) out[written++] = backwards[--depth];
    previous = code;
  }
  return written;
}

// Rows of an interlaced image arrive in four passes: every 8th from 0, every 8th from 4, every 4th
// from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
    for (int y = start; y < height; y += step) rows.push_back(y);
  return rows;
}

struct Frame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  Colours colours{};
  std::vector<uint8_t> indices;
  size_t decoded = 0;  // indices before the data ended or went wrong
};

std::optional<Frame> ReadFrame(Reader& in, const std::optional<Colours>& global) {
  Frame frame;
  frame.left = in.Word();
  frame.top = in.Word();
  frame.width = in.Word();
  frame.height = in.Word();
  const uint8_t flags = in.Byte();
  frame.interlaced = flags & 0x40;
  if (flags & 0x80) {
    frame.colours = ReadColours(in, flags & 7);
  } else if (global) {
    frame.colours = *global;
  } else {
    return std::nullopt;  // nothing says what colour an index is
  }
  const int minCodeSize = in.Byte();
  if (in.Failed()) return std::nullopt;  // cut before its image data began
  const std::string data = in.SubBlocks();
  if (static_cast<size_t>(frame.width) * frame.height > kMaxPixels) return std::nullopt;
  frame.indices.resize(static_cast<size_t>(frame.width) * frame.height);
  frame.decoded = Unpack(data, minCodeSize, frame.indices);
  return frame;
}

// The frame on the logical screen; what it leaves uncovered or undecoded is transparent.
GifImage Compose(int width, int height, const Frame& frame, int transparentIndex) {
  GifImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, 0);
  std::vector<bool> opaque(image.pixels.size(), false);
  const std::vector<int> rows = RowOrder(frame.height, frame.interlaced);
  for (size_t i = 0; i < frame.decoded; ++i) {
    const int x = frame.left + static_cast<int>(i % frame.width);
    const int y = frame.top + rows[i / frame.width];
    const uint8_t index = frame.indices[i];
    if (x >= width || y >= height || index == transparentIndex) continue;
    const size_t at = static_cast<size_t>(height - 1 - y) * width + x;
    image.pixels[at] = frame.colours[index];
    opaque[at] = true;
  }
  if (std::find(opaque.begin(), opaque.end(), false) == opaque.end()) return image;
  const size_t stride = static_cast<size_t>(DibStride(width, 1));
  image.mask.assign(stride * height, 0);
  for (int row = 0; row < height; ++row)
    for (int x = 0; x < width; ++x)
      if (!opaque[static_cast<size_t>(row) * width + x]) image.mask[row * stride + x / 8] |= 0x80 >> (x % 8);
  return image;
}

}  // namespace

std::optional<GifImage> DecodeGif(std::string_view bytes) {
  Reader in(bytes);
  const std::string_view signature = in.Take(6);
  if (signature != "GIF87a" && signature != "GIF89a") return std::nullopt;
  const int width = in.Word(), height = in.Word();
  const uint8_t flags = in.Byte();
  in.Take(2);  // background colour and aspect ratio, which pictures do not use
  if (in.Failed() || !width || !height || static_cast<size_t>(width) * height > kMaxPixels) return std::nullopt;
  std::optional<Colours> global;
  if (flags & 0x80) global = ReadColours(in, flags & 7);
  int transparentIndex = -1;
  while (!in.Failed()) {
    const uint8_t introducer = in.Byte();
    if (introducer == 0x2C) {
      std::optional<Frame> frame = ReadFrame(in, global);
      if (!frame) return std::nullopt;
      return Compose(width, height, *frame, transparentIndex);
    }
    if (introducer != 0x21) return std::nullopt;  // the trailer before any image, or not a GIF
    const uint8_t label = in.Byte();
    const std::string block = in.SubBlocks();
    constexpr uint8_t kGraphicControl = 0xF9;
    if (label == kGraphicControl && block.size() >= 4 && (block[0] & 1))
      transparentIndex = static_cast<uint8_t>(block[3]);
  }
  return std::nullopt;
}

}  // namespace forms
