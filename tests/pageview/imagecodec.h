#pragma once
// Image files for tests: BMP, ICO and GIF written byte by byte, and PNG,
// JPEG, TIFF through the imaging component's own encoders.

#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace hv::test {

using PixelAt = std::function<uint32_t(int x, int y)>;  // 0xAARRGGBB

inline void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
inline void Put16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v));
  out.push_back(static_cast<char>(v >> 8));
}

// A 24-bit bottom-up .bmp.
inline std::string Bmp(int w, int h, const PixelAt& pixel) {
  const int stride = (w * 3 + 3) & ~3;
  std::string out = "BM";
  Put32(out, static_cast<uint32_t>(54 + stride * h));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(h));
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < w; ++x) {
      uint32_t c = pixel(x, y);
      row.push_back(static_cast<char>(c));
      row.push_back(static_cast<char>(c >> 8));
      row.push_back(static_cast<char>(c >> 16));
    }
    row.resize(static_cast<size_t>(stride), '\0');
    out += row;
  }
  return out;
}

// A one-image .ico holding a 32-bit bitmap with its alpha.
inline std::string Ico(int w, int h, const PixelAt& pixel) {
  std::string image;
  Put32(image, 40);
  Put32(image, static_cast<uint32_t>(w));
  Put32(image, static_cast<uint32_t>(h * 2));  // colour and mask
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(image, pixel(x, y));
  const int maskStride = ((w + 31) / 32) * 4;
  image.append(static_cast<size_t>(maskStride * h), '\0');
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<char>(w));
  out.push_back(static_cast<char>(h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, static_cast<uint32_t>(image.size()));
  Put32(out, 22);
  return out + image;
}

// A .gif of one colour per frame: each pixel code follows a clear code, so
// every code stays three bits wide and no table is needed.
inline std::string Gif(int w, int h, const std::vector<int>& frameColours) {
  std::string out = "GIF89a";
  Put16(out, static_cast<uint16_t>(w));
  Put16(out, static_cast<uint16_t>(h));
  out.push_back(static_cast<char>(0xF1));  // global table of 4 colours
  out.push_back(0);
  out.push_back(0);
  const uint8_t palette[12] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF};
  out.append(reinterpret_cast<const char*>(palette), 12);
  for (int colour : frameColours) {
    out += std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);  // 100 ms a frame
    out.push_back(',');
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint16_t>(w));
    Put16(out, static_cast<uint16_t>(h));
    out.push_back(0);
    out.push_back(2);  // minimum code size
    std::string data;
    uint32_t acc = 0;
    int bits = 0;
    auto code = [&](uint32_t c) {
      acc |= c << bits;
      bits += 3;
      while (bits >= 8) {
        data.push_back(static_cast<char>(acc & 0xFF));
        acc >>= 8;
        bits -= 8;
      }
    };
    for (int i = 0; i < w * h; ++i) {
      code(4);
      code(static_cast<uint32_t>(colour));
    }
    code(5);
    if (bits > 0) data.push_back(static_cast<char>(acc & 0xFF));
    for (size_t at = 0; at < data.size(); at += 255) {
      size_t n = std::min<size_t>(255, data.size() - at);
      out.push_back(static_cast<char>(n));
      out += data.substr(at, n);
    }
    out.push_back(0);
  }
  out.push_back(';');
  return out;
}

// The encoded file, or empty when the system has no encoder for `container`.
// Encoders without alpha (JPEG) take the pixels' colours only.
inline std::string EncodeImage(const GUID& container, int w, int h, const PixelAt& pixel) {
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory))))
    return {};
  IStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  std::string out;
  if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
      SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr))) {
    frame->SetSize(static_cast<UINT>(w), static_cast<UINT>(h));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    frame->SetPixelFormat(&format);
    const bool alpha = IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA);
    const int bpp = alpha ? 4 : 3;
    // An encoder of palette images (GIF) takes no colours as they stand.
    const bool takesColours = alpha || IsEqualGUID(format, GUID_WICPixelFormat24bppBGR);
    const UINT stride = static_cast<UINT>((w * bpp + 3) & ~3);
    std::vector<BYTE> bits(static_cast<size_t>(stride) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = pixel(x, y);
        BYTE* p = &bits[static_cast<size_t>(y) * stride + static_cast<size_t>(x * bpp)];
        p[0] = static_cast<BYTE>(c);
        p[1] = static_cast<BYTE>(c >> 8);
        p[2] = static_cast<BYTE>(c >> 16);
        if (alpha) p[3] = static_cast<BYTE>(c >> 24);
      }
    if (takesColours && SUCCEEDED(frame->WritePixels(static_cast<UINT>(h), stride, static_cast<UINT>(bits.size()), bits.data())) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit())) {
      HGLOBAL memory = nullptr;
      STATSTG stat{};
      if (SUCCEEDED(GetHGlobalFromStream(stream, &memory)) && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME))) {
        out.assign(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
        GlobalUnlock(memory);
      }
    }
  }
  if (frame) frame->Release();
  if (encoder) encoder->Release();
  if (stream) stream->Release();
  factory->Release();
  return out;
}

}  // namespace hv::test
