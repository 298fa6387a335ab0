#pragma once
// Where a link on a local page leads. Paths are Windows paths in UTF-8;
// the arithmetic is plain string work, so it is portable.

#include <optional>
#include <string>
#include <string_view>

namespace hv::html {

// The file a link's href names, relative to the folder of the page that
// holds it ("..\x.htm", "sub/y.htm#part", "file:///C:/z.htm", "a%20b.htm").
// Nothing for links that leave the local files (http:, mailto:, javascript:
// and every other scheme), for links that only name a place on the same
// page ("#top") and for empty links.
std::optional<std::string> ResolveLocalLink(std::string_view pagePath, std::string_view href);

// Removes "." and ".." steps and doubled separators; ".." never climbs above
// the drive or the \\server\share of the path. Separators become '\'.
std::string NormalizePath(std::string_view path);

}  // namespace hv::html
