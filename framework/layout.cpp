#include "framework/layout.h"

#include <charconv>
#include <cmath>

#include "framework/sysutils.h"

namespace hv {

bool TLayoutNode::operator==(const TLayoutNode& other) const {
  return className == other.className && name == other.name && properties == other.properties &&
         children == other.children;
}

namespace {

constexpr size_t kMaxIdentLength = 255;
// Written characters per piece before a long string is continued with '+'.
constexpr size_t kStringPiece = 64;
constexpr size_t kBinaryLineBytes = 32;

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

class TParser {
 public:
  explicit TParser(std::string_view text) : text_(text) {}

  TLayoutNode ParseRoot() {
    if (text_.size() > kMaxLayoutSize) throw EReadError("Line 1: Layout too large");
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipSpace();
    TLayoutNode root = ParseObject(1);
    SkipSpace();
    if (!AtEnd()) Expected("End of file");
    return root;
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  bool Peek(char c) const { return !AtEnd() && text_[pos_] == c; }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[pos_])) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  [[noreturn]] void Error(const std::string& message) const {
    throw EReadError(Format("Line %d: %s", line_, message.c_str()));
  }

  std::string Found() const {
    if (AtEnd()) return "end of file";
    char c = text_[pos_];
    if (IsIdentChar(c)) {
      size_t end = pos_;
      while (end < text_.size() && end - pos_ < 40 && (IsIdentChar(text_[end]) || text_[end] == '.')) ++end;
      return "'" + std::string(text_.substr(pos_, end - pos_)) + "'";
    }
    if (c == '\'') return "string constant";
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F) return Format("'#%u'", byte);
    return std::string("'") + c + "'";
  }

  [[noreturn]] void Expected(std::string_view what) const {
    Error(std::string(what) + " expected but " + Found() + " found");
  }

  bool PeekKeyword(std::string_view keyword) const {
    if (text_.size() - pos_ < keyword.size() || !SameText(text_.substr(pos_, keyword.size()), keyword)) return false;
    size_t end = pos_ + keyword.size();
    return end == text_.size() || !IsIdentChar(text_[end]);
  }

  std::string ReadIdent(bool dotted) {
    if (!IsIdentStart(Peek())) Expected("Identifier");
    size_t start = pos_;
    while (!AtEnd()) {
      if (IsIdentChar(text_[pos_])) ++pos_;
      else if (dotted && text_[pos_] == '.' && pos_ + 1 < text_.size() && IsIdentStart(text_[pos_ + 1])) pos_ += 2;
      else break;
    }
    if (pos_ - start > kMaxIdentLength) Error("Identifier too long");
    return std::string(text_.substr(start, pos_ - start));
  }

  TLayoutNode ParseObject(int depth) {
    if (depth > kMaxLayoutDepth) Error("Components nested too deeply");
    if (!PeekKeyword("object")) Expected("'object'");
    TLayoutNode node;
    node.line = line_;
    pos_ += 6;
    SkipSpace();
    std::string first = ReadIdent(false);
    SkipSpace();
    if (Peek(':')) {
      ++pos_;
      SkipSpace();
      node.name = std::move(first);
      node.className = ReadIdent(false);
    } else {
      node.className = std::move(first);
    }
    SkipSpace();
    for (;;) {
      if (PeekKeyword("end")) {
        pos_ += 3;
        return node;
      }
      if (PeekKeyword("object")) {
        node.children.push_back(ParseObject(depth + 1));
        SkipSpace();
        continue;
      }
      // Properties come before the nested blocks, as the writer puts them.
      if (!node.children.empty() || !IsIdentStart(Peek())) Expected("'end'");
      node.properties.push_back(ParseProperty(depth));
      SkipSpace();
    }
  }

  TLayoutProperty ParseProperty(int depth) {
    TLayoutProperty property;
    property.line = line_;
    property.name = ReadIdent(true);
    SkipSpace();
    if (!Peek('=')) Expected("'='");
    ++pos_;
    SkipSpace();
    property.value = ParseValue(depth);
    return property;
  }

  TValue ParseValue(int depth) {
    char c = Peek();
    if (c == '<') return ParseCollection(depth + 1);
    if (c == '\'' || c == '#') return ParseString();
    if (c == '-' || c == '$' || IsDigit(c)) return ParseNumber();
    if (c == '[') return ParseSet();
    if (c == '{') return ParseBinary();
    if (c == '(') return ParseList();
    if (IsIdentStart(c)) {
      if (PeekKeyword("end") || PeekKeyword("object")) Expected("Property value");
      std::string ident = ReadIdent(true);
      if (SameText(ident, "True")) return true;
      if (SameText(ident, "False")) return false;
      return TIdent{std::move(ident)};
    }
    Expected("Property value");
  }

  TValue ParseNumber() {
    size_t start = pos_;
    size_t digits = pos_ + (Peek('-') ? 1 : 0);
    pos_ = digits;
    while (!AtEnd()) {
      char c = text_[pos_];
      bool exponentSign = (c == '+' || c == '-') && (text_[pos_ - 1] == 'e' || text_[pos_ - 1] == 'E') &&
                          text_[digits] != '$';
      if (IsIdentChar(c) || c == '.' || c == '$' || exponentSign) ++pos_;
      else break;
    }
    std::string_view token = text_.substr(start, pos_ - start);
    auto invalid = [&]() { Error("Invalid number '" + std::string(token.substr(0, 40)) + "'"); };
    if (digits >= pos_) invalid();
    const char* first = text_.data() + digits;
    const char* last = text_.data() + pos_;
    bool negative = digits != start;
    if (*first == '$') {
      ++first;
      if (first == last) invalid();
      uint64_t value = 0;
      auto [end, error] = std::from_chars(first, last, value, 16);
      if (error != std::errc() || end != last) invalid();
      if (value > (negative ? uint64_t{1} << 63 : uint64_t{INT64_MAX})) invalid();
      return negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
    }
    if (!IsDigit(*first)) invalid();
    if (token.find_first_of(".eE") != std::string_view::npos) {
      double value = 0;
      auto [end, error] = std::from_chars(text_.data() + start, last, value);
      if (error != std::errc() || end != last || !std::isfinite(value)) invalid();
      return value;
    }
    int64_t value = 0;
    auto [end, error] = std::from_chars(text_.data() + start, last, value);
    if (error != std::errc() || end != last) invalid();
    return value;
  }

  std::string ParseString() {
    std::string out;
    for (;;) {
      if (!Peek('\'') && !Peek('#')) Expected("String constant");
      while (Peek('\'') || Peek('#')) {
        if (Peek('\'')) ParseQuoted(out);
        else ParseCharCode(out);
      }
      SkipSpace();
      if (!Peek('+')) return out;
      ++pos_;
      SkipSpace();
    }
  }

  void ParseQuoted(std::string& out) {
    ++pos_;
    for (;;) {
      if (AtEnd() || text_[pos_] == '\n' || text_[pos_] == '\r') Error("Unterminated string");
      char c = text_[pos_++];
      if (c != '\'') {
        out += c;
      } else if (Peek('\'')) {
        out += '\'';
        ++pos_;
      } else {
        return;
      }
    }
  }

  void ParseCharCode(std::string& out) {
    ++pos_;
    int base = 10;
    if (Peek('$')) {
      base = 16;
      ++pos_;
    }
    uint32_t code = 0;
    size_t start = pos_;
    while (!AtEnd()) {
      int digit = HexValue(text_[pos_]);
      if (digit < 0 || digit >= base) break;
      code = code * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
      if (code > 0x10FFFF) Error("Invalid character code");
      ++pos_;
    }
    if (pos_ == start) Expected("Character code");
    if (code >= 0xD800 && code <= 0xDFFF) Error("Invalid character code");
    AppendUtf8(out, code);
  }

  TSetValue ParseSet() {
    TSetValue set;
    ++pos_;
    SkipSpace();
    if (Peek(']')) {
      ++pos_;
      return set;
    }
    for (;;) {
      set.members.push_back(ReadIdent(false));
      SkipSpace();
      if (Peek(']')) {
        ++pos_;
        return set;
      }
      if (!Peek(',')) Expected("']'");
      ++pos_;
      SkipSpace();
    }
  }

  TBinary ParseBinary() {
    TBinary binary;
    ++pos_;
    int pending = -1;
    for (;;) {
      SkipSpace();
      if (Peek('}')) break;
      int digit = HexValue(Peek());
      if (digit < 0) Expected("'}'");
      ++pos_;
      if (pending < 0) {
        pending = digit;
      } else {
        binary.bytes.push_back(static_cast<uint8_t>(pending << 4 | digit));
        pending = -1;
      }
    }
    if (pending >= 0) Error("Odd number of hex digits in binary value");
    ++pos_;
    return binary;
  }

  // Items nest like components and share their depth limit.
  TCollectionValue ParseCollection(int depth) {
    if (depth > kMaxLayoutDepth) Error("Collections nested too deeply");
    TCollectionValue collection;
    ++pos_;
    SkipSpace();
    while (!Peek('>')) {
      if (!PeekKeyword("item")) Expected("'>'");
      pos_ += 4;
      SkipSpace();
      TCollectionItemValue item;
      while (!PeekKeyword("end")) {
        if (!IsIdentStart(Peek())) Expected("'end'");
        item.properties.push_back(ParseProperty(depth));
        SkipSpace();
      }
      pos_ += 3;
      SkipSpace();
      collection.items.push_back(std::move(item));
    }
    ++pos_;
    return collection;
  }

  TStringsValue ParseList() {
    TStringsValue list;
    ++pos_;
    SkipSpace();
    while (!Peek(')')) {
      if (!Peek('\'') && !Peek('#')) Expected("')'");
      list.lines.push_back(ParseString());
    }
    ++pos_;
    return list;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

bool IsValidName(std::string_view name, bool dotted) {
  if (name.empty() || name.size() > kMaxIdentLength) return false;
  bool start = true;
  for (char c : name) {
    if (start ? !IsIdentStart(c) : !(IsIdentChar(c) || (dotted && c == '.'))) return false;
    start = c == '.';
  }
  return !start;
}

class TFormatter {
 public:
  std::string Run(const TLayoutNode& root) {
    Node(root, 1);
    return std::move(out_);
  }

 private:
  [[noreturn]] static void Invalid(const std::string& what) { throw EWriteError("Cannot write " + what); }

  void Indent(size_t level) { out_.append(level * 2, ' '); }

  void Node(const TLayoutNode& node, int depth) {
    if (depth > kMaxLayoutDepth) Invalid("components nested this deeply");
    if (!IsValidName(node.className, false)) Invalid("class name '" + node.className + "'");
    if (!node.name.empty() && !IsValidName(node.name, false)) Invalid("component name '" + node.name + "'");
    size_t level = static_cast<size_t>(depth - 1);
    Indent(level);
    out_ += "object ";
    if (!node.name.empty()) out_ += node.name + ": ";
    out_ += node.className + "\n";
    for (const auto& property : node.properties) Property(property, level + 1, depth);
    for (const auto& child : node.children) Node(child, depth + 1);
    Indent(level);
    out_ += "end\n";
  }

  void Property(const TLayoutProperty& property, size_t level, int depth) {
    if (!IsValidName(property.name, true) || SameText(property.name, "object") || SameText(property.name, "end"))
      Invalid("property name '" + property.name + "'");
    Indent(level);
    out_ += property.name + " =";
    Value(property, level, depth);
    out_ += '\n';
  }

  void Value(const TLayoutProperty& property, size_t level, int depth) {
    const TValue& value = property.value;
    if (auto collection = std::get_if<TCollectionValue>(&value)) {
      if (depth + 1 > kMaxLayoutDepth) Invalid("collections nested this deeply");
      out_ += " <";
      for (const auto& item : collection->items) {
        out_ += '\n';
        Indent(level + 1);
        out_ += "item\n";
        for (const auto& itemProperty : item.properties) Property(itemProperty, level + 2, depth + 1);
        Indent(level + 1);
        out_ += "end";
      }
      out_ += '>';
    } else if (auto i = std::get_if<int64_t>(&value)) {
      out_ += ' ' + std::to_string(*i);
    } else if (auto b = std::get_if<bool>(&value)) {
      out_ += *b ? " True" : " False";
    } else if (auto d = std::get_if<double>(&value)) {
      if (!std::isfinite(*d)) Invalid("a value that is not finite for " + property.name);
      char buffer[64];
      auto result = std::to_chars(buffer, buffer + sizeof buffer, *d);
      std::string text(buffer, result.ptr);
      if (text.find_first_of(".e") == std::string::npos) text += ".0";
      out_ += ' ' + text;
    } else if (auto s = std::get_if<std::string>(&value)) {
      String(*s, level + 1, true);
    } else if (auto ident = std::get_if<TIdent>(&value)) {
      if (!IsValidName(ident->name, true) || SameText(ident->name, "True") || SameText(ident->name, "False") ||
          SameText(ident->name, "end") || SameText(ident->name, "object"))
        Invalid("identifier '" + ident->name + "' for " + property.name);
      out_ += ' ' + ident->name;
    } else if (auto set = std::get_if<TSetValue>(&value)) {
      out_ += " [";
      for (size_t i = 0; i < set->members.size(); ++i) {
        if (!IsValidName(set->members[i], false)) Invalid("set member '" + set->members[i] + "' for " + property.name);
        if (i) out_ += ", ";
        out_ += set->members[i];
      }
      out_ += ']';
    } else if (auto binary = std::get_if<TBinary>(&value)) {
      Binary(binary->bytes, level + 1);
    } else if (auto list = std::get_if<TStringsValue>(&value)) {
      out_ += " (";
      for (const auto& line : list->lines) {
        out_ += '\n';
        Indent(level + 1);
        String(line, level + 2, false);
      }
      out_ += ')';
    } else {
      Invalid("an empty value for " + property.name);
    }
  }

  // A string as quoted runs and #NN codes for control characters; a long one
  // is cut into pieces (never inside a UTF-8 sequence) continued by '+'.
  void String(std::string_view text, size_t level, bool afterEquals) {
    std::vector<std::string> pieces(1);
    bool quoted = false;
    for (char c : text) {
      auto byte = static_cast<unsigned char>(c);
      // A run of stray continuation bytes is no character: cut it anyway.
      size_t size = pieces.back().size();
      if (size >= kStringPiece && ((byte & 0xC0) != 0x80 || size >= kStringPiece + 4)) {
        if (quoted) pieces.back() += '\'';
        quoted = false;
        pieces.emplace_back();
      }
      if (byte < 0x20 || byte == 0x7F) {
        if (quoted) pieces.back() += '\'';
        quoted = false;
        pieces.back() += '#' + std::to_string(byte);
        continue;
      }
      if (!quoted) pieces.back() += '\'';
      quoted = true;
      pieces.back() += c;
      if (c == '\'') pieces.back() += '\'';
    }
    if (quoted || pieces.back().empty()) pieces.back() += quoted ? "'" : "''";
    if (pieces.size() == 1) {
      if (afterEquals) out_ += ' ';
      out_ += pieces[0];
      return;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
      if (i || afterEquals) {
        if (i) out_ += " +";
        out_ += '\n';
        Indent(level);
      }
      out_ += pieces[i];
    }
  }

  void Binary(const std::vector<uint8_t>& bytes, size_t level) {
    static const char kHex[] = "0123456789ABCDEF";
    out_ += " {";
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (i % kBinaryLineBytes == 0) {
        out_ += '\n';
        Indent(level);
      }
      out_ += kHex[bytes[i] >> 4];
      out_ += kHex[bytes[i] & 15];
    }
    out_ += '}';
  }

  std::string out_;
};

}  // namespace

TLayoutNode ParseLayout(std::string_view text) { return TParser(text).ParseRoot(); }

std::string FormatLayout(const TLayoutNode& root) { return TFormatter().Run(root); }

}  // namespace hv
