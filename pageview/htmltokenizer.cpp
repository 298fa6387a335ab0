#include "pageview/htmltokenizer.h"

#include <algorithm>
#include <array>

namespace hv::html {

namespace {

struct NamedEntity {
  std::string_view name;
  uint32_t codePoint;
};

// Sorted by name (byte order) for the binary search below. Every entity of
// code point 255 or less is also accepted without its semicolon, as pages
// written for old browsers rely on that ("&copy 2004", "&nbsp&nbsp").
constexpr NamedEntity kEntities[] = {
    {"AElig", 198},   {"AMP", 38},     {"Aacute", 193}, {"Acirc", 194},   {"Agrave", 192},  {"Alpha", 913},
    {"Aring", 197},   {"Atilde", 195}, {"Auml", 196},   {"Beta", 914},    {"COPY", 169},    {"Ccedil", 199},
    {"Dagger", 8225}, {"Delta", 916},  {"ETH", 208},    {"Eacute", 201},  {"Ecirc", 202},   {"Egrave", 200},
    {"Euml", 203},    {"GT", 62},      {"Gamma", 915},  {"Iacute", 205},  {"Icirc", 206},   {"Igrave", 204},
    {"Iuml", 207},    {"LT", 60},      {"Lambda", 923}, {"Ntilde", 209},  {"OElig", 338},   {"Oacute", 211},
    {"Ocirc", 212},   {"Ograve", 210}, {"Omega", 937},  {"Oslash", 216},  {"Otilde", 213},  {"Ouml", 214},
    {"Phi", 934},     {"Pi", 928},     {"Prime", 8243}, {"QUOT", 34},     {"REG", 174},     {"Scaron", 352},
    {"Sigma", 931},   {"THORN", 222},  {"Theta", 920},  {"Uacute", 218},  {"Ucirc", 219},   {"Ugrave", 217},
    {"Uuml", 220},    {"Yacute", 221}, {"Yuml", 376},   {"aacute", 225},  {"acirc", 226},   {"acute", 180},
    {"aelig", 230},   {"agrave", 224}, {"alpha", 945},  {"amp", 38},      {"apos", 39},     {"aring", 229},
    {"asymp", 8776},  {"atilde", 227}, {"auml", 228},   {"bdquo", 8222},  {"beta", 946},    {"brvbar", 166},
    {"bull", 8226},   {"ccedil", 231}, {"cedil", 184},  {"cent", 162},    {"check", 10003}, {"circ", 710},
    {"clubs", 9827},  {"copy", 169},   {"curren", 164}, {"dArr", 8659},   {"dagger", 8224}, {"darr", 8595},
    {"deg", 176},     {"delta", 948},  {"diams", 9830}, {"divide", 247},  {"eacute", 233},  {"ecirc", 234},
    {"egrave", 232},  {"emsp", 8195},  {"ensp", 8194},  {"epsilon", 949}, {"equiv", 8801},  {"eth", 240},
    {"euml", 235},    {"euro", 8364},  {"frac12", 189}, {"frac14", 188},  {"frac34", 190},  {"frasl", 8260},
    {"gamma", 947},   {"ge", 8805},    {"gt", 62},      {"hArr", 8660},   {"harr", 8596},   {"hearts", 9829},
    {"hellip", 8230}, {"iacute", 237}, {"icirc", 238},  {"iexcl", 161},   {"igrave", 236},  {"infin", 8734},
    {"iquest", 191},  {"iuml", 239},   {"lArr", 8656},  {"lambda", 955},  {"laquo", 171},   {"larr", 8592},
    {"ldquo", 8220},  {"le", 8804},    {"loz", 9674},   {"lrm", 8206},    {"lsaquo", 8249}, {"lsquo", 8216},
    {"lt", 60},       {"macr", 175},   {"mdash", 8212}, {"micro", 181},   {"middot", 183},  {"minus", 8722},
    {"mu", 956},      {"nbsp", 160},   {"ndash", 8211}, {"ne", 8800},     {"not", 172},     {"ntilde", 241},
    {"oacute", 243},  {"ocirc", 244},  {"oelig", 339},  {"ograve", 242},  {"oline", 8254},  {"omega", 969},
    {"ordf", 170},    {"ordm", 186},   {"oslash", 248}, {"otilde", 245},  {"ouml", 246},    {"para", 182},
    {"permil", 8240}, {"phi", 966},    {"pi", 960},     {"plusmn", 177},  {"pound", 163},   {"prime", 8242},
    {"prod", 8719},   {"quot", 34},    {"rArr", 8658},  {"radic", 8730},  {"raquo", 187},   {"rarr", 8594},
    {"rdquo", 8221},  {"reg", 174},    {"rlm", 8207},   {"rsaquo", 8250}, {"rsquo", 8217},  {"sbquo", 8218},
    {"scaron", 353},  {"sect", 167},   {"shy", 173},    {"sigma", 963},   {"spades", 9824}, {"sum", 8721},
    {"sup1", 185},    {"sup2", 178},   {"sup3", 179},   {"szlig", 223},   {"theta", 952},   {"thinsp", 8201},
    {"thorn", 254},   {"tilde", 732},  {"times", 215},  {"trade", 8482},  {"uArr", 8657},   {"uacute", 250},
    {"uarr", 8593},   {"ucirc", 251},  {"ugrave", 249}, {"uml", 168},     {"uuml", 252},    {"yacute", 253},
    {"yen", 165},     {"yuml", 255},   {"zwj", 8205},   {"zwnj", 8204},
};

static_assert(std::is_sorted(std::begin(kEntities), std::end(kEntities),
                             [](const NamedEntity& a, const NamedEntity& b) { return a.name < b.name; }));

constexpr size_t kLongestEntityName = 8;

// Code points 0x80..0x9F in a numeric reference mean the windows-1252
// characters at those bytes; every browser reads them that way.
constexpr std::array<uint16_t, 32> kWindows1252High = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                                       0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

const NamedEntity* FindEntity(std::string_view name) {
  auto it = std::lower_bound(std::begin(kEntities), std::end(kEntities), name,
                             [](const NamedEntity& e, std::string_view n) { return e.name < n; });
  if (it != std::end(kEntities) && it->name == name) return it;
  return nullptr;
}

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlnum(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
bool IsHexDigit(char c) { return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

uint32_t FixNumericReference(uint32_t value) {
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0xFFFD;
  if (value >= 0x80 && value <= 0x9F) return kWindows1252High[value - 0x80];
  return value;
}

// Decodes the reference starting at text[pos] == '&'. Returns the number of
// bytes consumed, 0 when the text is not a reference to decode.
size_t DecodeReference(std::string_view text, size_t pos, bool inAttribute, std::string& out) {
  size_t i = pos + 1;
  if (i < text.size() && text[i] == '#') {
    ++i;
    bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    size_t digitsStart = i;
    uint32_t value = 0;
    while (i < text.size() && (hex ? IsHexDigit(text[i]) : IsAsciiDigit(text[i]))) {
      char c = text[i];
      uint32_t digit = IsAsciiDigit(c) ? static_cast<uint32_t>(c - '0') : static_cast<uint32_t>(ToLower(c) - 'a' + 10);
      // Saturate: anything past the last code point is replaced anyway.
      value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + digit;
      ++i;
    }
    if (i == digitsStart) return 0;
    if (i < text.size() && text[i] == ';') ++i;
    AppendUtf8(out, FixNumericReference(value));
    return i - pos;
  }
  size_t nameStart = i;
  while (i < text.size() && IsAsciiAlnum(text[i]) && i - nameStart <= kLongestEntityName) ++i;
  std::string_view name = text.substr(nameStart, i - nameStart);
  if (name.empty()) return 0;
  if (i < text.size() && text[i] == ';') {
    if (const NamedEntity* e = FindEntity(name)) {
      AppendUtf8(out, e->codePoint);
      return i + 1 - pos;
    }
  }
  // Legacy references without a semicolon: the longest known prefix.
  for (size_t length = std::min(name.size(), kLongestEntityName); length > 0; --length) {
    const NamedEntity* e = FindEntity(name.substr(0, length));
    if (!e || e->codePoint > 255) continue;
    size_t after = nameStart + length;
    if (inAttribute && after < text.size() && (IsAsciiAlnum(text[after]) || text[after] == '=')) return 0;
    AppendUtf8(out, e->codePoint);
    return after - pos;
  }
  return 0;
}

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (size_t k = 0; k < prefix.size(); ++k)
    if (ToLower(text[pos + k]) != prefix[k]) return false;
  return true;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string DecodeEntities(std::string_view text, bool inAttribute) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '&') {
      if (size_t used = DecodeReference(text, i, inAttribute, out)) {
        i += used;
        continue;
      }
    }
    if (c != '\0') out.push_back(c);  // browsers drop NULs in page text
    ++i;
  }
  return out;
}

const std::string* Token::Attr(std::string_view attrName) const {
  for (const Attribute& a : attributes)
    if (a.name == attrName) return &a.value;
  return nullptr;
}

bool Tokenizer::Next(Token& token) {
  token.kind = TokenKind::Text;
  token.name.clear();
  token.attributes.clear();
  token.selfClosing = false;
  token.text.clear();
  while (pos_ < text_.size()) {
    if (!rawTextEnd_.empty()) {
      bool keep = rawTextEnd_ == "title" || rawTextEnd_ == "textarea" || rawTextEnd_ == "style";
      ReadRawText(token, keep, rawTextEnd_ != "style");
      if (keep && !token.text.empty()) return true;
      continue;
    }
    if (text_[pos_] != '<') {
      ReadText(token);
      if (!token.text.empty()) return true;
      continue;
    }
    char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (IsAsciiAlpha(next) || next == '/') {
      if (ReadTag(token)) return true;
      continue;
    }
    if (next == '!' || next == '?') {
      if (ReadMarkupDeclaration(token)) return true;
      continue;
    }
    ReadText(token);  // a lone '<' is text
    if (!token.text.empty()) return true;
  }
  return false;
}

void Tokenizer::ReadText(Token& token) {
  size_t start = pos_;
  size_t end = pos_ + 1;  // the first byte is text even when it is a lone '<'
  while (end < text_.size()) {
    if (text_[end] == '<' && end + 1 < text_.size()) {
      char n = text_[end + 1];
      if (IsAsciiAlpha(n) || n == '/' || n == '!' || n == '?') break;
    }
    ++end;
  }
  pos_ = end;
  token.kind = TokenKind::Text;
  token.text = DecodeEntities(text_.substr(start, end - start));
}

void Tokenizer::ReadRawText(Token& token, bool keep, bool decodeEntities) {
  size_t search = pos_;
  size_t end = text_.size();
  while (search < text_.size()) {
    size_t lt = text_.find("</", search);
    if (lt == std::string_view::npos) break;
    size_t after = lt + 2 + rawTextEnd_.size();
    if (StartsWithNoCase(text_, lt + 2, rawTextEnd_) &&
        (after >= text_.size() || IsSpace(text_[after]) || text_[after] == '>' || text_[after] == '/')) {
      end = lt;
      break;
    }
    search = lt + 2;
  }
  token.kind = TokenKind::Text;
  if (keep) {
    std::string_view raw = text_.substr(pos_, end - pos_);
    token.text = decodeEntities ? DecodeEntities(raw) : std::string(raw);
  }
  pos_ = end;
  rawTextEnd_.clear();
}

bool Tokenizer::ReadTag(Token& token) {
  size_t i = pos_ + 1;
  bool end = false;
  if (text_[i] == '/') {
    end = true;
    ++i;
    if (i >= text_.size()) {  // "</" at the very end is text
      token.kind = TokenKind::Text;
      token.text = "</";
      pos_ = text_.size();
      return true;
    }
    if (text_[i] == '>') {  // "</>" means nothing
      pos_ = i + 1;
      return false;
    }
    if (!IsAsciiAlpha(text_[i])) {  // "</ x>" and the like: a comment nobody sees
      size_t close = text_.find('>', i);
      pos_ = close == std::string_view::npos ? text_.size() : close + 1;
      return false;
    }
  }
  size_t nameStart = i;
  while (i < text_.size() && !IsSpace(text_[i]) && text_[i] != '/' && text_[i] != '>') ++i;
  token.name.clear();
  for (size_t k = nameStart; k < i; ++k) token.name.push_back(ToLower(text_[k]));
  token.kind = end ? TokenKind::EndTag : TokenKind::StartTag;
  pos_ = i;
  ReadAttributes(token);
  if (pos_ > text_.size()) {  // the tag ran off the end of the text: it never happened
    pos_ = text_.size();
    return false;
  }
  if (end) {
    token.attributes.clear();
    token.selfClosing = false;
  } else if (token.name == "script" || token.name == "style" || token.name == "title" || token.name == "textarea" ||
             token.name == "xmp" || token.name == "noembed") {
    // "<script src=x />" in pages written as XHTML: honouring the slash keeps
    // the rest of the page from vanishing into the script.
    if (!token.selfClosing) rawTextEnd_ = token.name;
  }
  return true;
}

// Reads attributes up to and including the closing '>'. Leaves pos_ past
// the end of the text when the tag is cut off.
void Tokenizer::ReadAttributes(Token& token) {
  size_t i = pos_;
  const size_t n = text_.size();
  while (true) {
    while (i < n && (IsSpace(text_[i]) || text_[i] == '/')) {
      if (text_[i] == '/') token.selfClosing = i + 1 < n && text_[i + 1] == '>';
      ++i;
    }
    if (i >= n) {
      pos_ = n + 1;
      return;
    }
    if (text_[i] == '>') {
      pos_ = i + 1;
      return;
    }
    token.selfClosing = false;
    size_t nameStart = i;
    ++i;  // a name may start with '='; it cannot be empty
    while (i < n && !IsSpace(text_[i]) && text_[i] != '/' && text_[i] != '>' && text_[i] != '=') ++i;
    Attribute attr;
    for (size_t k = nameStart; k < i; ++k) attr.name.push_back(ToLower(text_[k]));
    size_t j = i;
    while (j < n && IsSpace(text_[j])) ++j;
    if (j < n && text_[j] == '=') {
      ++j;
      while (j < n && IsSpace(text_[j])) ++j;
      if (j < n && (text_[j] == '"' || text_[j] == '\'')) {
        char quote = text_[j];
        size_t close = text_.find(quote, j + 1);
        if (close == std::string_view::npos) {
          pos_ = n + 1;
          return;
        }
        attr.value = DecodeEntities(text_.substr(j + 1, close - j - 1), true);
        i = close + 1;
      } else {
        size_t valueStart = j;
        while (j < n && !IsSpace(text_[j]) && text_[j] != '>') ++j;
        attr.value = DecodeEntities(text_.substr(valueStart, j - valueStart), true);
        i = j;
      }
    }
    token.attributes.push_back(std::move(attr));
  }
}

bool Tokenizer::ReadMarkupDeclaration(Token& token) {
  size_t i = pos_ + 2;
  const bool bang = text_[pos_ + 1] == '!';
  if (bang && text_.substr(i, 2) == "--") {
    size_t bodyStart = i + 2;
    // "<!-->" and "<!--->" are empty comments.
    size_t close = text_.substr(bodyStart, 1) == ">"    ? bodyStart - 2
                   : text_.substr(bodyStart, 2) == "->" ? bodyStart - 1
                                                        : text_.find("-->", bodyStart);
    token.kind = TokenKind::Comment;
    if (close == std::string_view::npos) {
      token.text = text_.substr(bodyStart);
      pos_ = text_.size();
    } else {
      token.text = close > bodyStart ? text_.substr(bodyStart, close - bodyStart) : std::string_view{};
      pos_ = close + 3;
    }
    return true;
  }
  size_t close = text_.find('>', i);
  std::string_view body = text_.substr(i, close == std::string_view::npos ? std::string_view::npos : close - i);
  pos_ = close == std::string_view::npos ? text_.size() : close + 1;
  if (bang && StartsWithNoCase(body, 0, "doctype")) {
    token.kind = TokenKind::Doctype;
    token.text = body.substr(7);
    while (!token.text.empty() && IsSpace(token.text.front())) token.text.erase(token.text.begin());
    return true;
  }
  token.kind = TokenKind::Comment;  // <!x>, <?xml ...?>: bogus comments
  token.text = body;
  return true;
}

}  // namespace hv::html
