// ControlsGallery [style name]: paints the controls sheet of the named
// style, or of every registered style that is available, into
// "<style name> controls.bmp" in the current folder. Exit code 1 when a
// named style does not exist or a sheet cannot be written.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "framework/application.h"
#include "framework/filestream.h"
#include "framework/graphics.h"
#include "framework/winstring.h"
#include "theme/core/tebitmap.h"
#include "theme/core/theme.h"
#include "theme/core/themelibrary.h"
#include "theme/frame/menuresources.h"
#include "theme/styles/allstyles.h"
#include "tools/gallery/controlsheet.h"

namespace hv {
namespace {

void WriteSheet(TTeThemeClass themeClass, const std::vector<TControlSheetRow>& rows) {
  const std::string name = themeClass->GetName() + " controls";
  const TGallerySheet sheet = PaintControlSheet(themeClass, rows);
  TFileStream file(name + ".bmp", TFileMode::fmCreate);
  SheetToBitmap(*sheet.bitmap)->SaveToStream(file);
  std::printf("%s.bmp: %d x %d, %d cells\n", name.c_str(), sheet.bitmap->Width(), sheet.bitmap->Height(),
              static_cast<int>(sheet.cells.size()));
}

int Run(int argc, wchar_t** argv) {
  const std::vector<TControlSheetRow> rows = ControlSheetRows();
  if (argc > 1) {
    const std::string wanted = Narrow(argv[1]);
    TTeThemeClass themeClass = FindThemeClass(wanted);
    if (!themeClass) {
      std::fprintf(stderr, "ControlsGallery: no style named \"%s\"\n", wanted.c_str());
      return 1;
    }
    WriteSheet(themeClass, rows);
    return 0;
  }
  for (int i = 0; i < ThemeClassCount(); ++i)
    if (ThemeClasses(i)->IsThemeAvailable()) WriteSheet(ThemeClasses(i), rows);
  return 0;
}

}  // namespace
}  // namespace hv

int wmain(int argc, wchar_t** argv) {
  hv::StartThemeLibrary({.registerClasses = &hv::RegisterFrameClasses, .registerStyles = &hv::RegisterAllStyles});
  hv::Application()->Initialize();
  // A fault in a control's window procedure is reported here and the sheet
  // goes on; a message box would wait for a user who is not there.
  int faults = 0;
  hv::Application()->OnException = [&faults](hv::TObject*, const std::exception& e) {
    ++faults;
    std::fprintf(stderr, "ControlsGallery: %s\n", e.what());
  };
  int result = 1;
  try {
    result = hv::Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ControlsGallery: %s\n", e.what());
  }
  hv::FinishThemeLibrary();
  return faults ? 1 : result;
}
