#pragma once
// Text at the platform boundary: the framework keeps UTF-8, the platform's
// wide calls take UTF-16, files of the ANSI world come in the ANSI code page.

#include <string>
#include <string_view>

namespace hv {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// Bytes in the system's ANSI code page to UTF-8, and back.
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

}  // namespace hv
