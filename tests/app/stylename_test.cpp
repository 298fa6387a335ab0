#include "app/stylename.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(StyleNameTest, OptionValueInBothSpellingsTheLastOneWinning) {
  EXPECT_FALSE(StyleOptionValue({}).has_value());
  EXPECT_FALSE(StyleOptionValue({"--styles", "KDE", "-style", "x"}).has_value());
  EXPECT_EQ(StyleOptionValue({"--style", "Office XP"}), "Office XP");
  EXPECT_EQ(StyleOptionValue({"--style=cool flat"}), "cool flat");
  EXPECT_EQ(StyleOptionValue({"--style", "Flat", "--style=KDE"}), "KDE");
  // A value that looks like an option is still the value.
  EXPECT_EQ(StyleOptionValue({"--style", "--style"}), "--style");
  EXPECT_EQ(StyleOptionValue({"--style"}), "") << "no value: an empty name, which matches nothing";
  EXPECT_EQ(StyleOptionValue({"--style="}), "");
}

TEST(StyleNameTest, CommandLineArgumentsAfterTheProgramName) {
  EXPECT_FALSE(CommandLineHasArguments(L""));
  EXPECT_FALSE(CommandLineHasArguments(L"HelpViewer.exe"));
  EXPECT_FALSE(CommandLineHasArguments(L"HelpViewer.exe  \t "));
  EXPECT_FALSE(CommandLineHasArguments(L"\"C:\\Help Files\\HelpViewer.exe\""));
  EXPECT_FALSE(CommandLineHasArguments(L"\"C:\\Help Files\\HelpViewer.exe\"   "));
  // A quoted name runs to its closing quote, spaces and all.
  EXPECT_TRUE(CommandLineHasArguments(L"\"C:\\Help Files\\HelpViewer.exe\" --style KDE"));
  // Something glued to the closing quote is an argument.
  EXPECT_TRUE(CommandLineHasArguments(L"\"HelpViewer.exe\"--style=KDE"));
  EXPECT_TRUE(CommandLineHasArguments(L"HelpViewer.exe --style=KDE"));
  EXPECT_TRUE(CommandLineHasArguments(L"HelpViewer.exe\t\"\""));
  // An unquoted name ends at the first blank even inside a folder name.
  EXPECT_TRUE(CommandLineHasArguments(L"C:\\Help Files\\HelpViewer.exe"));
  // A quote never closed takes the rest of the line as the name.
  EXPECT_FALSE(CommandLineHasArguments(L"\"C:\\Help Files\\HelpViewer.exe --style KDE"));
}

TEST(StyleNameTest, NamesMatchWithoutCaseOrSpaces) {
  EXPECT_TRUE(StyleNamesMatch("office xp", "OfficeXP"));
  EXPECT_TRUE(StyleNamesMatch("OFFICEXP", "OfficeXP"));
  EXPECT_TRUE(StyleNamesMatch("coolflat", "Cool Flat"));
  EXPECT_TRUE(StyleNamesMatch(" Metal  Luna ", "MetalLuna"));
  EXPECT_TRUE(StyleNamesMatch("no theme", "No Theme"));
  EXPECT_FALSE(StyleNamesMatch("Flat", "Cool Flat"));
  EXPECT_FALSE(StyleNamesMatch("Luna", "MetalLuna"));
  EXPECT_FALSE(StyleNamesMatch("KDEs", "KDE"));
  EXPECT_FALSE(StyleNamesMatch("", "KDE"));
  EXPECT_FALSE(StyleNamesMatch("   ", "KDE"));
  EXPECT_FALSE(StyleNamesMatch("Ädvanced", "Advanced")) << "only ASCII letters fold";

  const std::vector<std::string> names = {"Flat", "Luna", "MetalLuna", "Advanced", "Cool Flat", "No Theme"};
  EXPECT_EQ(FindStyleName("cool flat", names), 4);
  EXPECT_EQ(FindStyleName("metalluna", names), 2);
  EXPECT_EQ(FindStyleName("Metal", names), -1);
  EXPECT_EQ(FindStyleName("", names), -1);
  EXPECT_EQ(FindStyleName("x", {}), -1);
}

TEST(StyleNameTest, TheMessageNamesEveryStyle) {
  EXPECT_EQ(UnknownStyleMessage("Aero", {"Flat", "Cool Flat"}),
            "No style is named \"Aero\"; the styles are: \"Flat\", \"Cool Flat\".");
}

}  // namespace
}  // namespace hv
