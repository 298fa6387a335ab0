#pragma once
// Which character set a page is written in, and turning its bytes into UTF-8.
// Portable: the code pages the platform knows (GBK, the ANSI code page) are
// decoded through a hook that the window side supplies.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace hv::html {

enum class Charset {
  Ansi,  // nothing declared: the system's ANSI code page
  Utf8,
  Utf16LE,
  Utf16BE,
  Gbk,          // GBK, GB2312 and GB18030 labels (code page 936)
  Windows1252,  // ISO-8859-1, US-ASCII and windows-1252 labels
};

struct CharsetInfo {
  Charset charset = Charset::Ansi;
  size_t bomLength = 0;  // bytes of byte-order mark to skip
};

// A byte-order mark decides; else the first <meta charset=...> or
// <meta http-equiv="Content-Type" content="...; charset=..."> in the first
// few kilobytes; else the ANSI code page. A page claiming UTF-16 without a
// byte-order mark cannot be UTF-16 (its meta tag was readable as ASCII), so
// it is read as UTF-8.
CharsetInfo DetectCharset(std::string_view bytes);

// The charset a label names; Ansi for labels we do not know.
Charset CharsetFromLabel(std::string_view label);

// Bytes of a charset (without byte-order mark) to UTF-8.
using Decoder = std::function<std::string(std::string_view bytes, Charset charset)>;

// The decoding every build has: UTF-8 (broken sequences become U+FFFD),
// UTF-16 and windows-1252 exactly. GBK and the ANSI code page need the
// platform's tables: here each double-byte GBK character becomes one U+FFFD
// and ANSI is read as windows-1252.
std::string DecodeToUtf8(std::string_view bytes, Charset charset);

// The UTF-8 sequence at `pos` (before the end of `bytes`). A sound one
// (shortest form, no surrogate, at most U+10FFFF) gives its code point and
// length; a broken one gives U+FFFD, and as its length the lead byte with
// the continuation bytes it has when it is cut short, else 1.
struct Utf8Sequence {
  uint32_t codePoint;
  size_t length;
  bool sound;
};
Utf8Sequence ReadUtf8Sequence(std::string_view bytes, size_t pos);

// Decoding would give the bytes back as they are: plain ASCII in a charset
// that keeps it, or UTF-8 without a broken sequence. Such a page is read
// where it lies, without a decoded copy.
bool DecodesUnchanged(std::string_view bytes, Charset charset);

// Detects the charset and decodes the page with the hook (or DecodeToUtf8
// when it is empty or gives back nothing for non-empty input).
std::string DecodePage(std::string_view bytes, const Decoder& decoder, CharsetInfo* detected = nullptr);

}  // namespace hv::html
