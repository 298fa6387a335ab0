#include "pageview/htmllink.h"

#include <vector>

namespace hv::html {

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      char c = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      if (c != '\0') {  // an encoded NUL would cut the path short on the way to the platform
        out.push_back(c);
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

// The length of the part of a path that ".." cannot climb above: "C:\",
// "C:", "\\server\share\", "\" or nothing for a relative path.
size_t RootLength(std::string_view path) {
  if (path.size() >= 2 && IsAlpha(path[0]) && path[1] == ':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t i = 2;
    for (int part = 0; part < 2; ++part) {  // server, then share
      while (i < path.size() && !IsSeparator(path[i])) ++i;
      if (i < path.size()) ++i;
    }
    return i;
  }
  if (!path.empty() && IsSeparator(path[0])) return 1;
  return 0;
}

// Whether a "\\server\share" root names a server and a share: neither may be
// empty, "." or "..", which would climb out of the root once normalised.
bool SoundShare(std::string_view path) {
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return true;
  size_t i = 2;
  for (int part = 0; part < 2; ++part) {
    const size_t start = i;
    while (i < path.size() && !IsSeparator(path[i])) ++i;
    const std::string_view name = path.substr(start, i - start);
    if (name.empty() || name == "." || name == "..") return false;
    if (i < path.size()) ++i;
  }
  return true;
}

}  // namespace

std::string NormalizePath(std::string_view path) {
  size_t rootLength = RootLength(path);
  std::string root(path.substr(0, rootLength));
  for (char& c : root)
    if (c == '/') c = '\\';
  std::vector<std::string_view> parts;
  size_t i = rootLength;
  while (i <= path.size()) {
    size_t end = i;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string_view part = path.substr(i, end - i);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (rootLength == 0) {
        parts.push_back(part);  // a relative path may start above its folder
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = end + 1;
  }
  std::string out = root;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k) out.push_back('\\');
    out.append(parts[k]);
  }
  return out;
}

std::optional<std::string> ResolveLocalLink(std::string_view pagePath, std::string_view href) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
  while (!href.empty() && blank(href.front())) href.remove_prefix(1);
  while (!href.empty() && blank(href.back())) href.remove_suffix(1);
  href = href.substr(0, href.find('#'));
  href = href.substr(0, href.find('?'));
  if (href.empty()) return std::nullopt;

  // A scheme: a letter, then letters, digits, '+', '-' or '.', then ':'.
  // One letter before the colon is a drive, not a scheme.
  size_t s = 0;
  while (s < href.size() && (IsAlpha(href[s]) || (s > 0 && ((href[s] >= '0' && href[s] <= '9') || href[s] == '+' ||
                                                            href[s] == '-' || href[s] == '.'))))
    ++s;
  std::string target;
  if (s >= 2 && s < href.size() && href[s] == ':') {
    std::string scheme(href.substr(0, s));
    for (char& c : scheme)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (scheme != "file") return std::nullopt;
    std::string_view rest = href.substr(s + 1);
    if (rest.substr(0, 2) == "//") {
      rest.remove_prefix(2);
      if (!rest.empty() && rest[0] == '/') {
        rest.remove_prefix(1);  // file:///C:/x
      } else if (rest.substr(0, 10) == "localhost/") {
        rest.remove_prefix(10);
      } else {
        target = "\\\\";  // file://server/share/x
      }
    }
    target += PercentDecode(rest);
    // "file:/C:/x" names the drive after its one slash.
    if (target.size() >= 3 && IsSeparator(target[0]) && RootLength(std::string_view(target).substr(1)) >= 2)
      target.erase(0, 1);
    const size_t rootLength = RootLength(target);
    if (rootLength == 0 || !SoundShare(target)) return std::nullopt;  // file:x means nothing we can open
    // "file:/x", like "/x", stands at the root of the page's drive or share.
    if (rootLength == 1) return NormalizePath(std::string(pagePath.substr(0, RootLength(pagePath))) + target.substr(1));
    return NormalizePath(target);
  }

  std::string decoded = PercentDecode(href);
  size_t rootLength = RootLength(decoded);
  if (rootLength >= 2) {  // drive or \\server\share
    if (!SoundShare(decoded)) return std::nullopt;
    return NormalizePath(decoded);
  }
  if (rootLength == 1) {                               // "\x" and "/x": the root of the page's drive or share
    return NormalizePath(std::string(pagePath.substr(0, RootLength(pagePath))) + decoded.substr(1));
  }
  size_t folderEnd = pagePath.find_last_of("\\/:");
  std::string folder =
      folderEnd == std::string_view::npos ? std::string() : std::string(pagePath.substr(0, folderEnd + 1));
  return NormalizePath(folder + decoded);
}

}  // namespace hv::html
