#pragma once
// The viewer's "--style <name>" option as plain text work: finding it among
// the arguments and matching a name the way a user types it. Portable.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// The value of the last "--style <name>" or "--style=<name>" among the
// arguments (the program's name not included); an empty string when the
// option ends the line without a value; nothing when the option is absent.
std::optional<std::string> StyleOptionValue(const std::vector<std::string>& args);

// Whether a command line (as the process got it) carries anything after
// the program's name, which is split off the way the platform does: up to
// the closing quote when it starts with one, else up to a space or tab.
bool CommandLineHasArguments(std::wstring_view commandLine);

// Names compared without regard to ASCII case or spaces: "office xp" is
// "OfficeXP", "cool flat" is "Cool Flat".
bool StyleNamesMatch(std::string_view typed, std::string_view name);

// The index of the first name the typed one matches, or -1.
int FindStyleName(std::string_view typed, const std::vector<std::string>& names);

// What the viewer says about a name that matches no style.
std::string UnknownStyleMessage(std::string_view typed, const std::vector<std::string>& names);

}  // namespace hv
