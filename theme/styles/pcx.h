#pragma once
// The skin images: 8-bit run-length-encoded PCX with a 256-colour palette
// block at the end of the file. The reader turns one into plain 32-bit ARGB
// pixels (0xAARRGGBB, row-major, top row first); the writer produces the same
// format for the skin generator. Portable: no window system here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "theme/core/pixels.h"

namespace hv {

constexpr size_t kPcxHeaderSize = 128;
// One marker byte (12) and 256 RGB triples, the last bytes of the file.
constexpr size_t kPcxPaletteBlockSize = 769;
// A decoded image never holds more pixels than this (64 MB of ARGB): a header
// claiming more is refused before anything is allocated.
constexpr int64_t kPcxMaxPixels = int64_t{1} << 24;

struct PcxImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height ARGB values, every alpha 255
  // How many bytes after the header the pixel data took; for a well-formed
  // encoded skin this ends exactly where the palette block begins.
  size_t dataBytesRead = 0;

  uint32_t Pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

// 10 or 205: the first byte of every PCX image.
bool IsPcxMarker(uint8_t firstByte);

// What the header says about the pixel data.
struct PcxLayout {
  int width = 0;
  int height = 0;
  uint32_t lineSize = 0;    // planes * bytes per line; of each line the first width bytes are pixels
  bool encoded = false;     // run-length encoded, else raw bytes
  bool hasPalette = false;  // the palette block ends the file (every version but 3)
};

// The header of a whole PCX file held in memory, with the errors of
// DecodePcx below; no value when the data is no PCX image.
std::optional<PcxLayout> ReadPcxLayout(std::span<const uint8_t> data);

// The colours the 256 indices stand for, every alpha 255: the palette block,
// or for version 3 the 16 colours of the system palette and black above.
using PcxColorTable = std::array<uint32_t, 256>;
PcxColorTable ReadPcxColors(std::span<const uint8_t> data, const PcxLayout& layout);

// The index of pixel (x, y), found by counting through the data rather than
// decoding it; 0 where the data ends before it, as DecodePcxPixels takes it.
// (x, y) must lie inside the image.
uint8_t PcxIndexAt(std::span<const uint8_t> data, const PcxLayout& layout, int x, int y);

// The colour table of an image keyed by `key`: every colour whose red, green
// and blue each lie within the tolerance of the key's becomes the
// transparent marker, as MakeTransparentPixels would make its pixels.
PcxColorTable KeyPcxColors(const PcxColorTable& colors, uint32_t key);

// Decodes the pixels straight into dst through `colors`: pixel (x, y) :=
// colors[index], for the part of the image that dst holds. Pixels the data
// never reaches get colors[0]. Answers how many bytes after the header the
// pixel data took. Never reads outside `data`.
size_t DecodePcxPixels(std::span<const uint8_t> data, const PcxLayout& layout, const PcxColorTable& colors,
                       TPixelBuffer dst, TPixelPath path = kppAuto);

// Whether the data is a whole run-length-encoded PCX image with its palette
// block: a sound header, lines that end exactly where the block begins, and
// the block's marker byte. A file cut short anywhere, or with bytes added,
// is not whole, though DecodePcx would still make an image of it. Never
// raises; never reads outside `data`.
bool IsWholePcx(std::span<const uint8_t> data);

// Decodes a whole PCX file held in memory.
// - EReadError when the data is shorter than the 128-byte header, whatever
//   its first byte.
// - No value when the first byte is neither 10 nor 205: not a PCX image, and
//   whoever asked keeps what it had.
// - EInvalidGraphic when the header's sizes contradict each other (Xmax below
//   Xmin, a line shorter than the image is wide, no room for the palette
//   block) or exceed kPcxMaxPixels.
// Version 3 means no palette block: the 16 colours of the system palette are
// used and indices above 15 come out black. Encoding 1 is run-length encoded,
// anything else raw bytes; each line keeps only its first width bytes, and
// data that ends early leaves the rest of the image as if those bytes were 0.
// Never reads outside `data`.
std::optional<PcxImage> DecodePcx(std::span<const uint8_t> data);

// An image to write: one palette index per pixel, row-major, top row first,
// and the palette as 0xRRGGBB values.
struct PcxIndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indices;
  std::array<uint32_t, 256> palette{};
};

// Writes version 5, 8 bits per pixel, one plane, run-length encoded, lines
// padded to an even byte count with index 0, palette block at the end.
// EInvalidGraphic when the size is not positive, too large for the format or
// kPcxMaxPixels, or does not match the number of indices.
std::vector<uint8_t> EncodePcx(const PcxIndexedImage& image);

// Builds the palette from the distinct colours of `argb` (alpha ignored), in
// order of first appearance, so the top-left pixel's colour is entry 0.
// EInvalidGraphic when there are more than 256 colours or the pixel count
// does not match the size.
PcxIndexedImage IndexPcxColors(int width, int height, std::span<const uint32_t> argb);

}  // namespace hv
