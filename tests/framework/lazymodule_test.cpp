// Libraries loaded on first use: nothing is mapped before an entry is asked
// for, the entry works once it is, a missing library or entry is reported
// by name, and the handle goes with its owner.

#include "framework/lazymodule.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace hv {
namespace {

// shlwapi: a real system library that nothing in this test binary imports.
constexpr wchar_t kLibrary[] = L"shlwapi.dll";
using TStrCmpLogical = int(WINAPI*)(LPCWSTR, LPCWSTR);

TEST(LazyModuleTest, LoadsOnTheFirstEntryAndTheEntryWorks) {
  const bool mappedBefore = ModuleMapped(kLibrary);
  {
    TLazyModule module(kLibrary);
    EXPECT_EQ(module.FileName(), kLibrary);
    EXPECT_FALSE(module.Loaded());
    EXPECT_EQ(ModuleMapped(kLibrary), mappedBefore) << "made, not loaded";
    const auto compare = module.Entry<TStrCmpLogical>("StrCmpLogicalW");
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(module.Loaded());
    EXPECT_TRUE(ModuleMapped(kLibrary));
    // Digits compare as numbers: a plain string compare says the opposite.
    EXPECT_LT(compare(L"page2", L"page10"), 0);
    EXPECT_GT(compare(L"page10", L"page2"), 0);
    EXPECT_EQ(compare(L"page7", L"page7"), 0);
    // A second entry comes from the same handle.
    EXPECT_NE(module.TryEntry<TStrCmpLogical>("StrCmpLogicalW"), nullptr);
  }
  EXPECT_EQ(ModuleMapped(kLibrary), mappedBefore) << "the owner's reference is released";
}

TEST(LazyModuleTest, AMissingLibraryOrEntryIsReportedByName) {
  TLazyModule missing(L"hv-no-such-library.dll");
  try {
    missing.Entry<TStrCmpLogical>("StrCmpLogicalW");
    ADD_FAILURE() << "a library that is not there loaded";
  } catch (const EModuleLoad& error) {
    EXPECT_STREQ(error.what(), "The system library hv-no-such-library.dll could not be loaded.");
  }
  EXPECT_FALSE(missing.Loaded());
  EXPECT_EQ(missing.TryEntry<TStrCmpLogical>("StrCmpLogicalW"), nullptr);
  // Still reported, not tried once and then forgotten.
  EXPECT_THROW(missing.Entry<TStrCmpLogical>("StrCmpLogicalW"), EModuleLoad);

  TLazyModule present(kLibrary);
  try {
    present.Entry<TStrCmpLogical>("HvNoSuchEntry");
    ADD_FAILURE() << "an entry that is not there was found";
  } catch (const EModuleLoad& error) {
    EXPECT_STREQ(error.what(), "The system library shlwapi.dll has no entry HvNoSuchEntry.");
  }
  EXPECT_TRUE(present.Loaded()) << "the library itself is there";
  EXPECT_EQ(present.TryEntry<TStrCmpLogical>("HvNoSuchEntry"), nullptr);
}

TEST(LazyModuleTest, TheSharedModulesNameTheLibrariesTheyStandFor) {
  EXPECT_EQ(Shell32Module().FileName(), L"shell32.dll");
  EXPECT_EQ(OleAut32Module().FileName(), L"oleaut32.dll");
  EXPECT_EQ(WindowsCodecsModule().FileName(), L"windowscodecs.dll");
  EXPECT_EQ(&Shell32Module(), &Shell32Module());
  // The shell's own parse of a command line, through the shared module.
  using TCommandLineToArgv = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  const auto toArgv = Shell32Module().Entry<TCommandLineToArgv>("CommandLineToArgvW");
  int count = 0;
  LPWSTR* argv = toArgv(L"\"C:\\Help Files\\HelpViewer.exe\" --style \"Office XP\"", &count);
  ASSERT_NE(argv, nullptr);
  ASSERT_EQ(count, 3);
  EXPECT_STREQ(argv[0], L"C:\\Help Files\\HelpViewer.exe");
  EXPECT_STREQ(argv[2], L"Office XP");
  LocalFree(argv);
  EXPECT_TRUE(Shell32Module().Loaded());
}

}  // namespace
}  // namespace hv
