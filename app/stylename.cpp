#include "app/stylename.h"

namespace hv {

namespace {

constexpr std::string_view kOption = "--style";

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::optional<std::string> StyleOptionValue(const std::vector<std::string>& args) {
  std::optional<std::string> value;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == kOption) {
      value = i + 1 < args.size() ? args[i + 1] : std::string();
      ++i;
    } else if (arg.size() > kOption.size() && arg.compare(0, kOption.size(), kOption) == 0 &&
               arg[kOption.size()] == '=') {
      value = arg.substr(kOption.size() + 1);
    }
  }
  return value;
}

bool StyleNamesMatch(std::string_view typed, std::string_view name) {
  size_t i = 0, j = 0;
  for (;;) {
    while (i < typed.size() && typed[i] == ' ') ++i;
    while (j < name.size() && name[j] == ' ') ++j;
    if (i == typed.size() || j == name.size()) return i == typed.size() && j == name.size();
    if (Folded(typed[i]) != Folded(name[j])) return false;
    ++i;
    ++j;
  }
}

int FindStyleName(std::string_view typed, const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i)
    if (StyleNamesMatch(typed, names[i])) return static_cast<int>(i);
  return -1;
}

std::string UnknownStyleMessage(std::string_view typed, const std::vector<std::string>& names) {
  std::string text = "No style is named \"" + std::string(typed) + "\"; the styles are: ";
  for (size_t i = 0; i < names.size(); ++i) text += (i ? ", \"" : "\"") + names[i] + "\"";
  return text + ".";
}

bool CommandLineHasArguments(std::wstring_view commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    // No escapes in the program's name: it ends at the next quote.
    const size_t close = commandLine.find(L'"', 1);
    if (close == std::wstring_view::npos) return false;
    at = close + 1;
  } else {
    while (at < commandLine.size() && commandLine[at] != L' ' && commandLine[at] != L'\t') ++at;
  }
  return commandLine.find_first_not_of(L" \t", at) != std::wstring_view::npos;
}

}  // namespace hv
