#pragma once
// What following a link on a local page means: another local page (perhaps
// at a named place), a place on the same page, or an address outside the
// help that the system's own handler opens. Script and every other scheme
// lead nowhere. Portable.

#include <string>
#include <string_view>

namespace hv::html {

enum class LinkKind {
  None,     // empty, script, or a scheme the help does not hand on
  Page,     // `path` (maybe with `fragment`)
  Place,    // `fragment` on the page that holds the link
  Outside,  // `url`: http, https or mailto, for the system's handler
};

struct LinkTarget {
  LinkKind kind = LinkKind::None;
  std::string path;      // Page: the resolved, normalised file path
  std::string fragment;  // Page, Place: the name after '#', percent-decoded; may be empty
  std::string url;       // Outside: the address as written, trimmed
};

LinkTarget ClassifyLink(std::string_view pagePath, std::string_view href);

}  // namespace hv::html
