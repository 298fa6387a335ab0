#include "app/styleoption.h"

#include <windows.h>

#include <cstdio>

#include "app/stylename.h"
#include "framework/forms.h"
#include "framework/lazymodule.h"
#include "framework/winstring.h"
#include "theme/core/theme.h"
#include "theme/core/themeengine.h"

namespace hv {

namespace {

constexpr char kEngineName[] = "TeThemeEngine1";

std::vector<std::string> RegisteredNames() {
  std::vector<std::string> names;
  for (int i = 0; i < ThemeClassCount(); ++i) names.push_back(ThemeClasses(i)->GetName());
  return names;
}

}  // namespace

std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> args;
  // Started without arguments, as it nearly always is, the viewer does not
  // need the shell's library to learn so.
  const wchar_t* line = GetCommandLineW();
  if (!CommandLineHasArguments(line)) return args;
  using TCommandLineToArgv = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  static const auto commandLineToArgv = Shell32Module().Entry<TCommandLineToArgv>("CommandLineToArgvW");
  int count = 0;
  LPWSTR* argv = commandLineToArgv(line, &count);
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

std::string ApplyStyleOption(TCustomForm& form, const std::vector<std::string>& args) {
  const std::optional<std::string> wanted = StyleOptionValue(args);
  if (!wanted) return {};
  const std::vector<std::string> names = RegisteredNames();
  const int index = FindStyleName(*wanted, names);
  auto* engine = dynamic_cast<TTeThemeEngine*>(form.FindComponent(kEngineName));
  if (index >= 0 && engine) {
    engine->SelectThemeClass(ThemeClasses(index));
    return {};
  }
  const std::string message = index >= 0 ? std::string("The window has no style engine to take the style.")
                                         : UnknownStyleMessage(*wanted, names);
  std::fprintf(stderr, "HelpViewer: %s\n", message.c_str());
  std::fflush(stderr);
  return message;
}

}  // namespace hv
