#include "pageview/htmlcharset.h"

#include <array>
#include <cstdint>

#include "pageview/htmltokenizer.h"

namespace hv::html {

namespace {

// A meta tag later than this is too late to matter: by then a browser has
// already shown text in its guessed charset.
constexpr size_t kPrescanBytes = 4096;

constexpr std::array<uint16_t, 32> kWindows1252High = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                                       0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

std::string LowerTrimmed(std::string_view text) {
  size_t b = 0, e = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  std::string out;
  for (size_t i = b; i < e; ++i) {
    char c = text[i];
    out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return out;
}

// The charset=... part of a Content-Type value, or empty.
std::string_view CharsetFromContentType(std::string_view content) {
  std::string lower(content);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  size_t from = 0;
  while (true) {
    size_t at = lower.find("charset", from);
    if (at == std::string::npos) return {};
    size_t i = at + 7;
    from = i;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t')) ++i;
    if (i >= content.size() || content[i] != '=') continue;  // "charsets" or the like
    ++i;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t')) ++i;
    if (i < content.size() && (content[i] == '"' || content[i] == '\'')) {
      char quote = content[i];
      size_t close = content.find(quote, i + 1);
      if (close == std::string_view::npos) return {};
      return content.substr(i + 1, close - i - 1);
    }
    size_t end = i;
    while (end < content.size() && content[end] != ';' && content[end] != ' ' && content[end] != '\t') ++end;
    return content.substr(i, end - i);
  }
}

std::string DecodeUtf16(std::string_view bytes, bool littleEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](size_t i) -> uint32_t {
    auto lo = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
    auto hi = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
    return static_cast<uint32_t>(hi << 8 | lo);
  };
  size_t i = 0;
  while (i + 1 < bytes.size()) {
    uint32_t u = unit(i);
    i += 2;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
      uint32_t low = unit(i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        i += 2;
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        continue;
      }
    }
    AppendUtf8(out, u);  // a lone surrogate becomes U+FFFD there
  }
  if (i < bytes.size()) AppendUtf8(out, 0xFFFD);  // an odd last byte
  return out;
}

std::string DecodeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const Utf8Sequence sequence = ReadUtf8Sequence(bytes, i);
    if (sequence.sound) {
      out.append(bytes.substr(i, sequence.length));
    } else {
      // One replacement for the lead byte and what it has of its sequence;
      // the continuation bytes after a wrong value each become one of their
      // own on the next rounds.
      AppendUtf8(out, 0xFFFD);
    }
    i += sequence.length;
  }
  return out;
}

std::string DecodeWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    AppendUtf8(out, c >= 0x80 && c <= 0x9F ? kWindows1252High[c - 0x80] : c);
  }
  return out;
}

std::string DecodeGbkWithoutTable(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else {
      AppendUtf8(out, 0xFFFD);
      bool pair = c >= 0x81 && c <= 0xFE && i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i + 1]) >= 0x40 &&
                  bytes[i + 1] != '\x7F';
      i += pair ? 2 : 1;
    }
  }
  return out;
}

}  // namespace

Charset CharsetFromLabel(std::string_view label) {
  std::string l = LowerTrimmed(label);
  if (l == "utf-8" || l == "utf8" || l == "unicode-1-1-utf-8") return Charset::Utf8;
  // Only a byte-order mark makes a page UTF-16; a label that could be read
  // at all was ASCII-compatible text.
  if (l == "utf-16" || l == "utf-16le" || l == "utf-16be" || l == "unicode") return Charset::Utf8;
  if (l == "gbk" || l == "gb2312" || l == "gb_2312-80" || l == "gb18030" || l == "x-gbk" || l == "cp936" ||
      l == "windows-936" || l == "chinese" || l == "csgb2312" || l == "iso-ir-58" || l == "euc-cn")
    return Charset::Gbk;
  if (l == "iso-8859-1" || l == "latin1" || l == "l1" || l == "us-ascii" || l == "ascii" || l == "windows-1252" ||
      l == "cp1252" || l == "iso8859-1" || l == "iso_8859-1" || l == "cp819" || l == "ibm819")
    return Charset::Windows1252;
  return Charset::Ansi;
}

Utf8Sequence ReadUtf8Sequence(std::string_view bytes, size_t pos) {
  const auto c = static_cast<unsigned char>(bytes[pos]);
  if (c < 0x80) return {c, 1, true};
  size_t extra;
  uint32_t cp, min;
  if (c >= 0xC2 && c <= 0xDF) {
    extra = 1, cp = c & 0x1F, min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2, cp = c & 0x0F, min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3, cp = c & 0x07, min = 0x10000;
  } else {
    return {0xFFFD, 1, false};
  }
  size_t taken = 0;
  while (taken < extra && pos + 1 + taken < bytes.size() &&
         (static_cast<unsigned char>(bytes[pos + 1 + taken]) & 0xC0) == 0x80) {
    cp = cp << 6 | (static_cast<unsigned char>(bytes[pos + 1 + taken]) & 0x3F);
    ++taken;
  }
  if (taken < extra) return {0xFFFD, 1 + taken, false};
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0xFFFD, 1, false};
  return {cp, extra + 1, true};
}

CharsetInfo DetectCharset(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {Charset::Utf8, 3};
  if (bytes.substr(0, 2) == "\xFF\xFE") return {Charset::Utf16LE, 2};
  if (bytes.substr(0, 2) == "\xFE\xFF") return {Charset::Utf16BE, 2};
  Tokenizer tokenizer(bytes.substr(0, kPrescanBytes));
  Token token;
  while (tokenizer.Next(token)) {
    if (token.kind != TokenKind::StartTag || token.name != "meta") continue;
    std::string_view label;
    if (const std::string* charset = token.Attr("charset")) {
      label = *charset;
    } else if (const std::string* equiv = token.Attr("http-equiv"); equiv && LowerTrimmed(*equiv) == "content-type") {
      if (const std::string* content = token.Attr("content")) label = CharsetFromContentType(*content);
    }
    if (!LowerTrimmed(label).empty()) return {CharsetFromLabel(label), 0};
  }
  return {Charset::Ansi, 0};
}

std::string DecodeToUtf8(std::string_view bytes, Charset charset) {
  switch (charset) {
    case Charset::Utf8:
      return DecodeUtf8(bytes);
    case Charset::Utf16LE:
      return DecodeUtf16(bytes, true);
    case Charset::Utf16BE:
      return DecodeUtf16(bytes, false);
    case Charset::Gbk:
      return DecodeGbkWithoutTable(bytes);
    case Charset::Windows1252:
    case Charset::Ansi:
      return DecodeWindows1252(bytes);
  }
  return DecodeWindows1252(bytes);
}

bool DecodesUnchanged(std::string_view bytes, Charset charset) {
  if (charset == Charset::Utf16LE || charset == Charset::Utf16BE) return false;
  for (size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    if (charset != Charset::Utf8) return false;
    const Utf8Sequence sequence = ReadUtf8Sequence(bytes, i);
    if (!sequence.sound) return false;
    i += sequence.length;
  }
  return true;
}

std::string DecodePage(std::string_view bytes, const Decoder& decoder, CharsetInfo* detected) {
  CharsetInfo info = DetectCharset(bytes);
  if (detected) *detected = info;
  std::string_view body = bytes.substr(info.bomLength);
  if (decoder) {
    std::string text = decoder(body, info.charset);
    if (!text.empty() || body.empty()) return text;
  }
  return DecodeToUtf8(body, info.charset);
}

}  // namespace hv::html
