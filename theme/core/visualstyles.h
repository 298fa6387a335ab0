#pragma once
// The system's visual-style library ("uxtheme.dll"), loaded at run time so
// that the program also starts where there is none. The controls' and the
// frame's unthemed fallback painting asks VisualStylesActive and then calls
// through the entry points below.

#include <windows.h>
// After <windows.h>, which it needs.
#include <uxtheme.h>

#include <string>

namespace hv {

// Every entry point the system uses, by its exported name.
#define HV_VISUAL_STYLE_ENTRIES(X)         \
  X(OpenThemeData)                         \
  X(CloseThemeData)                        \
  X(DrawThemeBackground)                   \
  X(DrawThemeText)                         \
  X(GetThemeBackgroundContentRect)         \
  X(GetThemePartSize)                      \
  X(GetThemeTextExtent)                    \
  X(GetThemeTextMetrics)                   \
  X(GetThemeBackgroundRegion)              \
  X(HitTestThemeBackground)                \
  X(DrawThemeEdge)                         \
  X(DrawThemeIcon)                         \
  X(IsThemePartDefined)                    \
  X(IsThemeBackgroundPartiallyTransparent) \
  X(GetThemeColor)                         \
  X(GetThemeMetric)                        \
  X(GetThemeString)                        \
  X(GetThemeBool)                          \
  X(GetThemeInt)                           \
  X(GetThemeEnumValue)                     \
  X(GetThemePosition)                      \
  X(GetThemeFont)                          \
  X(GetThemeRect)                          \
  X(GetThemeMargins)                       \
  X(GetThemeIntList)                       \
  X(GetThemePropertyOrigin)                \
  X(SetWindowTheme)                        \
  X(GetThemeFilename)                      \
  X(GetThemeSysColor)                      \
  X(GetThemeSysColorBrush)                 \
  X(GetThemeSysBool)                       \
  X(GetThemeSysSize)                       \
  X(GetThemeSysFont)                       \
  X(GetThemeSysString)                     \
  X(GetThemeSysInt)                        \
  X(IsThemeActive)                         \
  X(IsAppThemed)                           \
  X(GetWindowTheme)                        \
  X(EnableThemeDialogTexture)              \
  X(IsThemeDialogTextureEnabled)           \
  X(GetThemeAppProperties)                 \
  X(SetThemeAppProperties)                 \
  X(GetCurrentThemeName)                   \
  X(GetThemeDocumentationProperty)         \
  X(DrawThemeParentBackground)             \
  X(EnableTheming)

// The entry points of the loaded library; all null while it is not loaded,
// and each one null that the library lacks.
struct TVisualStyleApi {
#define HV_VISUAL_STYLE_FIELD(name) decltype(&::name) name = nullptr;
  HV_VISUAL_STYLE_ENTRIES(HV_VISUAL_STYLE_FIELD)
#undef HV_VISUAL_STYLE_FIELD
};
const TVisualStyleApi& VisualStyleApi();

// Reference counted under a lock: each load is matched by one free, and the
// library goes when the last user frees it. A load that finds no library
// still counts, so loads and frees always pair. Answers whether the library
// is loaded.
bool LoadVisualStyleLibrary();
void FreeVisualStyleLibrary();
bool VisualStyleLibraryLoaded();
int VisualStyleLibraryRefCount();

// The visual-style test: the library is loaded, the application is themed
// and a visual style is active (asked in that order).
bool VisualStylesActive();

// Which file LoadVisualStyleLibrary loads; only tests change it, to stand in
// for a system without the library. Takes effect at the next actual load.
void SetVisualStyleLibraryFile(const std::wstring& file);

}  // namespace hv
