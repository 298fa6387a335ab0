#pragma once
// Starting the viewer in a style of the user's choice: "--style <name>"
// sets the main window's engine to the named style before the window shows.

#include <string>
#include <vector>

namespace hv {

class TCustomForm;

// The program's arguments after its own name, in UTF-8.
std::vector<std::string> CommandLineArguments();

// Selects the style the arguments name on the form's engine
// "TeThemeEngine1". Without the option the stored style stands. A name that
// matches no registered style leaves the stored style too, and the message
// saying which names exist goes to standard error and is returned; an empty
// result means nothing to report.
std::string ApplyStyleOption(TCustomForm& form, const std::vector<std::string>& args);

}  // namespace hv
