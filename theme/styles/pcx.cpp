#include "theme/styles/pcx.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "framework/sysutils.h"

namespace hv {
namespace {

constexpr uint8_t kMarkerZsoft = 10;
constexpr uint8_t kMarkerAlternate = 205;
constexpr uint8_t kVersionWithoutPalette = 3;
constexpr uint8_t kVersionWithPalette = 5;
constexpr uint8_t kEncodingRle = 1;
constexpr uint8_t kPaletteBlockMarker = 12;
constexpr uint8_t kRunFlag = 0xC0;
constexpr int kMaxRun = 0x3F;

// The platform's default 16-colour palette, which version 3 files (no
// palette of their own) are shown with.
constexpr std::array<uint32_t, 16> kSystemPalette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

uint16_t ReadWord(std::span<const uint8_t> data, size_t offset) {
  return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

void WriteWord(std::vector<uint8_t>& out, size_t offset, uint32_t value) {
  out[offset] = static_cast<uint8_t>(value & 0xFF);
  out[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

// Writes decoded bytes into an image whose lines are longer than its width
// (or whose view is narrower than the image): bytes past the width (line
// padding, further planes) and pixels outside the view are dropped; runs may
// cross line ends.
class TRowSink {
 public:
  TRowSink(TPixelBuffer dst, const PcxLayout& layout, const PcxColorTable& colors, TRowWriters writers)
      : dst_(dst),
        colors_(colors),
        writers_(writers),
        lineSize_(layout.lineSize),
        width_(static_cast<uint32_t>(std::min(dst.width, layout.width))),
        rows_(static_cast<uint32_t>(std::min(dst.height, layout.height))),
        remaining_(uint64_t{layout.lineSize} * static_cast<uint64_t>(layout.height)) {}

  uint64_t Remaining() const { return remaining_; }

  void Put(uint8_t index, uint64_t count) {
    count = std::min(count, remaining_);
    remaining_ -= count;
    const uint32_t color = colors_[index];
    while (count > 0) {
      const uint64_t take = std::min<uint64_t>(count, lineSize_ - column_);
      if (column_ < width_ && row_ < rows_) {
        const auto end = static_cast<uint32_t>(std::min<uint64_t>(column_ + take, width_));
        writers_.fill(dst_.Row(static_cast<int>(row_)) + column_, color, static_cast<int>(end - column_));
      }
      column_ += static_cast<uint32_t>(take);
      count -= take;
      if (column_ == lineSize_) {
        column_ = 0;
        ++row_;
      }
    }
  }

  // What the data never reached reads as index 0.
  void FillRest() {
    for (; row_ < rows_; ++row_, column_ = 0)
      if (column_ < width_)
        writers_.fill(dst_.Row(static_cast<int>(row_)) + column_, colors_[0], static_cast<int>(width_ - column_));
  }

 private:
  TPixelBuffer dst_;
  const PcxColorTable& colors_;
  TRowWriters writers_;
  const uint32_t lineSize_;
  const uint32_t width_;
  const uint32_t rows_;
  uint64_t remaining_;
  uint32_t row_ = 0;
  uint32_t column_ = 0;
};

size_t DecodeRunLengthRows(std::span<const uint8_t> body, TRowSink& sink) {
  size_t in = 0;
  while (sink.Remaining() > 0 && in < body.size()) {
    const uint8_t b = body[in++];
    if ((b & kRunFlag) != kRunFlag) {
      sink.Put(b, 1);
      continue;
    }
    // A run whose value byte lies past the end is a truncated file: stop
    // there rather than invent a value.
    if (in >= body.size()) break;
    sink.Put(body[in++], b & kMaxRun);
  }
  return in;
}

size_t DecodeRawRows(std::span<const uint8_t> body, TRowSink& sink) {
  const size_t used = static_cast<size_t>(std::min<uint64_t>(body.size(), sink.Remaining()));
  for (size_t i = 0; i < used; ++i) sink.Put(body[i], 1);
  return used;
}

// Lines exactly as wide as the image, in a view that holds all of it with
// no gap between rows: the pixels are one stream, and decoding is runs of
// fills and of palette lookups, each as wide as the processor allows. Skins
// are mostly short runs, though, and a call into a wide kernel costs more
// than the few pixels it would write: runs shorter than kShortRun are
// written in place.
constexpr size_t kShortRun = 8;

size_t DecodeRunLengthLinear(std::span<const uint8_t> body, uint32_t* out, size_t total, const PcxColorTable& colors,
                             TRowWriters writers) {
  size_t in = 0;
  size_t done = 0;
  while (done < total && in < body.size()) {
    // Bytes without the run flag are single pixels: take them all at once.
    const size_t limit = std::min(body.size(), in + (total - done));
    size_t literals = in;
    while (literals < limit && (body[literals] & kRunFlag) != kRunFlag) ++literals;
    if (literals > in) {
      const size_t count = literals - in;
      if (count >= kShortRun) {
        writers.expand(out + done, body.data() + in, static_cast<int>(count), colors.data());
      } else {
        for (size_t i = 0; i < count; ++i) out[done + i] = colors[body[in + i]];
      }
      done += count;
      in = literals;
      continue;
    }
    const uint8_t b = body[in++];
    if (in >= body.size()) break;
    const size_t run = std::min<size_t>(b & kMaxRun, total - done);
    const uint32_t colour = colors[body[in++]];
    if (run >= kShortRun) {
      writers.fill(out + done, colour, static_cast<int>(run));
    } else {
      for (size_t i = 0; i < run; ++i) out[done + i] = colour;
    }
    done += run;
  }
  writers.fill(out + done, colors[0], static_cast<int>(total - done));
  return in;
}

size_t DecodeRawLinear(std::span<const uint8_t> body, uint32_t* out, size_t total, const PcxColorTable& colors,
                       TRowWriters writers) {
  const size_t used = std::min(body.size(), total);
  writers.expand(out, body.data(), static_cast<int>(used), colors.data());
  writers.fill(out + used, colors[0], static_cast<int>(total - used));
  return used;
}

void AppendRun(std::vector<uint8_t>& out, uint8_t value, int count) {
  if (count == 1 && (value & kRunFlag) != kRunFlag) {
    out.push_back(value);
    return;
  }
  out.push_back(static_cast<uint8_t>(kRunFlag | count));
  out.push_back(value);
}

void EncodeLine(std::vector<uint8_t>& out, std::span<const uint8_t> line) {
  size_t i = 0;
  while (i < line.size()) {
    const uint8_t value = line[i];
    int count = 1;
    while (i + count < line.size() && count < kMaxRun && line[i + count] == value) ++count;
    AppendRun(out, value, count);
    i += static_cast<size_t>(count);
  }
}

}  // namespace

bool IsPcxMarker(uint8_t firstByte) { return firstByte == kMarkerZsoft || firstByte == kMarkerAlternate; }

std::optional<PcxLayout> ReadPcxLayout(std::span<const uint8_t> data) {
  // The header is read whole before its first byte is looked at.
  if (data.size() < kPcxHeaderSize)
    throw EReadError(Format("PCX image truncated: %s bytes, the header alone takes %d",
                            std::to_string(data.size()).c_str(), int{kPcxHeaderSize}));
  if (!IsPcxMarker(data[0])) return std::nullopt;

  const uint8_t version = data[1];
  const uint8_t encoding = data[2];
  const int xMin = ReadWord(data, 4);
  const int yMin = ReadWord(data, 6);
  const int xMax = ReadWord(data, 8);
  const int yMax = ReadWord(data, 10);
  const uint32_t planes = data[65];
  const uint32_t bytesPerLine = ReadWord(data, 66);

  if (xMax < xMin || yMax < yMin)
    throw EInvalidGraphic(Format("Invalid PCX image extent: (%d, %d) to (%d, %d)", xMin, yMin, xMax, yMax));
  PcxLayout layout;
  layout.width = xMax - xMin + 1;
  layout.height = yMax - yMin + 1;
  if (int64_t{layout.width} * layout.height > kPcxMaxPixels)
    throw EInvalidGraphic(Format("PCX image too large: %d x %d pixels", layout.width, layout.height));
  layout.lineSize = planes * bytesPerLine;
  if (layout.lineSize < static_cast<uint32_t>(layout.width))
    throw EInvalidGraphic(Format("Invalid PCX image: lines of %u bytes cannot hold %d pixels (%u planes of %u bytes)",
                                 layout.lineSize, layout.width, planes, bytesPerLine));
  layout.hasPalette = version != kVersionWithoutPalette;
  if (layout.hasPalette && data.size() < kPcxHeaderSize + kPcxPaletteBlockSize)
    throw EInvalidGraphic(Format("PCX image truncated: %s bytes leave no room for the %d-byte palette block",
                                 std::to_string(data.size()).c_str(), int{kPcxPaletteBlockSize}));
  layout.encoded = encoding == kEncodingRle;
  return layout;
}

PcxColorTable ReadPcxColors(std::span<const uint8_t> data, const PcxLayout& layout) {
  PcxColorTable table;
  table.fill(0xFF000000u);
  if (!layout.hasPalette) {
    for (size_t i = 0; i < kSystemPalette16.size(); ++i) table[i] = 0xFF000000u | kSystemPalette16[i];
    return table;
  }
  // The block is found by its position alone; its marker byte is not checked.
  std::span<const uint8_t> rgb = data.subspan(data.size() - kPcxPaletteBlockSize + 1);
  for (size_t i = 0; i < table.size(); ++i)
    table[i] = 0xFF000000u | (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
  return table;
}

uint8_t PcxIndexAt(std::span<const uint8_t> data, const PcxLayout& layout, int x, int y) {
  const std::span<const uint8_t> body = data.subspan(kPcxHeaderSize);
  const uint64_t wanted = uint64_t{layout.lineSize} * static_cast<uint64_t>(y) + static_cast<uint64_t>(x);
  if (!layout.encoded) return wanted < body.size() ? body[wanted] : 0;
  uint64_t produced = 0;
  size_t in = 0;
  while (in < body.size()) {
    const uint8_t b = body[in++];
    if ((b & kRunFlag) != kRunFlag) {
      if (produced == wanted) return b;
      ++produced;
      continue;
    }
    if (in >= body.size()) break;
    const uint8_t value = body[in++];
    produced += b & kMaxRun;
    if (produced > wanted) return value;
  }
  return 0;
}

bool IsWholePcx(std::span<const uint8_t> data) {
  std::optional<PcxLayout> layout;
  try {
    layout = ReadPcxLayout(data);
  } catch (const Exception&) {
    return false;
  }
  if (!layout || !layout->encoded || !layout->hasPalette) return false;
  const size_t paletteAt = data.size() - kPcxPaletteBlockSize;
  if (data[paletteAt] != kPaletteBlockMarker) return false;
  // Counting the decoded bytes run by run: the lines must fill up exactly at
  // the palette block, with no run left hanging across it.
  const std::span<const uint8_t> body = data.subspan(kPcxHeaderSize, paletteAt - kPcxHeaderSize);
  const uint64_t wanted = uint64_t{layout->lineSize} * static_cast<uint64_t>(layout->height);
  uint64_t produced = 0;
  size_t in = 0;
  while (produced < wanted && in < body.size()) {
    const uint8_t b = body[in++];
    if ((b & kRunFlag) != kRunFlag) {
      ++produced;
      continue;
    }
    if (in >= body.size()) return false;
    ++in;
    produced += b & kMaxRun;
  }
  return produced == wanted && in == body.size();
}

PcxColorTable KeyPcxColors(const PcxColorTable& colors, uint32_t key) {
  PcxColorTable keyed = colors;
  MakeTransparentPixels(TPixelBuffer{keyed.data(), static_cast<int>(keyed.size()), 1, static_cast<int>(keyed.size())},
                        key);
  return keyed;
}

size_t DecodePcxPixels(std::span<const uint8_t> data, const PcxLayout& layout, const PcxColorTable& colors,
                       TPixelBuffer dst, TPixelPath path) {
  if (dst.IsEmpty()) return 0;
  // The palette block is part of the pixel data as far as the decoder is
  // concerned: in a well-formed file the lines end right before it anyway.
  const std::span<const uint8_t> body = data.subspan(kPcxHeaderSize);
  const TRowWriters writers = RowWriters(path);
  if (layout.lineSize == static_cast<uint32_t>(layout.width) && dst.width == layout.width &&
      dst.height == layout.height && dst.stride == dst.width) {
    const size_t total = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height);
    return layout.encoded ? DecodeRunLengthLinear(body, dst.bits, total, colors, writers)
                          : DecodeRawLinear(body, dst.bits, total, colors, writers);
  }
  TRowSink sink(dst, layout, colors, writers);
  const size_t used = layout.encoded ? DecodeRunLengthRows(body, sink) : DecodeRawRows(body, sink);
  sink.FillRest();
  return used;
}

std::optional<PcxImage> DecodePcx(std::span<const uint8_t> data) {
  const std::optional<PcxLayout> layout = ReadPcxLayout(data);
  if (!layout) return std::nullopt;
  PcxImage image;
  image.width = layout->width;
  image.height = layout->height;
  image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
  image.dataBytesRead = DecodePcxPixels(data, *layout, ReadPcxColors(data, *layout),
                                        TPixelBuffer{image.pixels.data(), image.width, image.height, image.width});
  return image;
}

std::vector<uint8_t> EncodePcx(const PcxIndexedImage& image) {
  const int width = image.width;
  const int height = image.height;
  // Xmax and Ymax are words, and the padded line length must fit a word too.
  if (width <= 0 || height <= 0 || width > 0xFFFE || height > 0x10000)
    throw EInvalidGraphic(Format("Cannot write a PCX image of %d x %d pixels", width, height));
  if (int64_t{width} * height > kPcxMaxPixels)
    throw EInvalidGraphic(Format("PCX image too large: %d x %d pixels", width, height));
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (image.indices.size() != pixelCount)
    throw EInvalidGraphic(Format("PCX image of %d x %d pixels given %s palette indices", width, height,
                                 std::to_string(image.indices.size()).c_str()));

  const auto bytesPerLine = static_cast<uint32_t>(width + (width & 1));
  std::vector<uint8_t> out(kPcxHeaderSize, 0);
  out[0] = kMarkerZsoft;
  out[1] = kVersionWithPalette;
  out[2] = kEncodingRle;
  out[3] = 8;
  WriteWord(out, 8, static_cast<uint32_t>(width - 1));
  WriteWord(out, 10, static_cast<uint32_t>(height - 1));
  WriteWord(out, 12, 72);
  WriteWord(out, 14, 72);
  out[65] = 1;
  WriteWord(out, 66, bytesPerLine);
  WriteWord(out, 68, 1);  // colour palette, not grey scale

  std::vector<uint8_t> line(bytesPerLine, 0);
  for (int y = 0; y < height; ++y) {
    const auto first = image.indices.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(y) * width);
    std::copy(first, first + width, line.begin());
    EncodeLine(out, line);
  }

  out.push_back(kPaletteBlockMarker);
  for (uint32_t rgb : image.palette) {
    out.push_back(static_cast<uint8_t>((rgb >> 16) & 0xFF));
    out.push_back(static_cast<uint8_t>((rgb >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(rgb & 0xFF));
  }
  return out;
}

PcxIndexedImage IndexPcxColors(int width, int height, std::span<const uint32_t> argb) {
  if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    throw EInvalidGraphic(
        Format("PCX image of %d x %d pixels given %s pixels", width, height, std::to_string(argb.size()).c_str()));
  PcxIndexedImage image;
  image.width = width;
  image.height = height;
  image.indices.resize(argb.size());
  std::unordered_map<uint32_t, uint8_t> indexOf;
  int used = 0;
  for (size_t i = 0; i < argb.size(); ++i) {
    const uint32_t rgb = argb[i] & 0x00FFFFFFu;
    auto [it, added] = indexOf.try_emplace(rgb, static_cast<uint8_t>(used));
    if (added) {
      if (used == 256) throw EInvalidGraphic("PCX image needs more than 256 colours");
      image.palette[static_cast<size_t>(used++)] = rgb;
    }
    image.indices[i] = it->second;
  }
  return image;
}

}  // namespace hv
