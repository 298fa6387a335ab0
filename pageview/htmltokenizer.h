#pragma once
// Splits HTML text into tags, text, comments and doctypes. It never fails:
// whatever the page holds comes out as some token, the way a browser reads
// broken markup instead of refusing it. Portable.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hv::html {

struct Attribute {
  std::string name;   // lower case
  std::string value;  // entities decoded
};

enum class TokenKind { Text, StartTag, EndTag, Comment, Doctype };

struct Token {
  TokenKind kind = TokenKind::Text;
  std::string name;  // tag name in lower case
  std::vector<Attribute> attributes;
  bool selfClosing = false;
  std::string text;  // text (entities decoded), comment or doctype body

  // The value of the first attribute of that (lower case) name, or null.
  const std::string* Attr(std::string_view attrName) const;
};

class Tokenizer {
 public:
  // The text must outlive the tokenizer; it is read as UTF-8 or any other
  // charset that keeps ASCII bytes for ASCII characters.
  explicit Tokenizer(std::string_view text) : text_(text) {}

  // Fills the next token; false at the end of the text.
  bool Next(Token& token);
  size_t Position() const { return pos_; }

 private:
  bool ReadTag(Token& token);
  void ReadAttributes(Token& token);
  void ReadText(Token& token);
  void ReadRawText(Token& token, bool keep, bool decodeEntities);
  bool ReadMarkupDeclaration(Token& token);

  std::string_view text_;
  size_t pos_ = 0;
  // After <script>, <style>, <title> or <textarea> the content up to the
  // matching end tag is not markup.
  std::string rawTextEnd_;
};

// Replaces character references (&amp; &#233; &#x4E2D; ...) with UTF-8. An
// unknown or broken reference stays as written. In attribute values a legacy
// reference without its semicolon is left alone when a letter, digit or '='
// follows, so query strings in links survive.
std::string DecodeEntities(std::string_view text, bool inAttribute = false);

// Appends a code point as UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, uint32_t codePoint);

}  // namespace hv::html
