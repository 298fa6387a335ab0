#include "framework/filestream.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/filer.h"
#include "framework/sysutils.h"
#include "framework/winstring.h"
#include "tests/framework/layout_test_classes.h"
// Last: its RegisterClass macro would rename the registry's function above.
#include <windows.h>

namespace hv {
namespace {

std::string TempPath(const std::string& name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return Narrow(dir) + name;
}

TEST(FileStreamTest, CreatesWritesAndReadsBackUnderAUtf8Name) {
  const std::string path = TempPath("hv \xE6\xB5\x81 stream.bin");  // a name that needs the wide API
  {
    TFileStream file(path, TFileMode::fmCreate);
    file.WriteBuffer("hello world", 11);
    EXPECT_EQ(file.Size(), 11);
    EXPECT_EQ(file.Seek(-5, TSeekOrigin::soEnd), 6);
    file.WriteBuffer("WORLD!", 6);
    file.SetSize(8);
    EXPECT_EQ(file.Size(), 8);
    EXPECT_EQ(file.Position(), 8);
  }
  {
    TFileStream file(path, TFileMode::fmOpenRead);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 8u);
    EXPECT_EQ(std::string(buffer, 8), "hello WO");
    EXPECT_THROW(file.ReadBuffer(buffer, 1), EReadError);
    EXPECT_THROW(file.WriteBuffer("x", 1), EWriteError) << "opened for reading only";
    EXPECT_EQ(file.FileName(), path);
  }
  {
    TFileStream file(path, TFileMode::fmOpenReadWrite);
    file.WriteBuffer("J", 1);
    EXPECT_EQ(file.Size(), 8) << "opening does not truncate";
  }
  EXPECT_TRUE(DeleteFileW(Widen(path).c_str()));
}

TEST(FileStreamTest, FailuresNameTheFileAndTheReason) {
  const std::string missing = TempPath("hv-no-such-file.bin");
  try {
    TFileStream file(missing, TFileMode::fmOpenRead);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    const std::string prefix = "Cannot open file \"" + missing + "\". ";
    EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
    EXPECT_GT(e.Message().size(), prefix.size()) << "the system's reason follows";
    EXPECT_EQ(e.Message().back() == '\n', false);
  }
  const std::string nowhere = TempPath("hv-no-such-dir\\file.bin");
  try {
    TFileStream file(nowhere, TFileMode::fmCreate);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot create file \"" + nowhere + "\". ", 0), 0u) << e.Message();
  }
}

TEST(ResourceStreamTest, ReadsRawDataByNameAndId) {
  const std::string expected = "object Sample: TTestForm\n  Caption = 'from a resource'\nend\n";
  TResourceStream byName(GetModuleHandleW(nullptr), "LAYOUTSAMPLE");
  std::vector<uint8_t> bytes = byName.ReadRest(1024);
  // Checkouts may turn the file's line ends into CR LF; the layout reads the same either way.
  std::string text(bytes.begin(), bytes.end());
  std::string normalised;
  for (char c : text)
    if (c != '\r') normalised += c;
  EXPECT_EQ(normalised, expected);
  EXPECT_THROW(byName.WriteBuffer("x", 1), EWriteError);

  TResourceStream byId(GetModuleHandleW(nullptr), 101);
  EXPECT_EQ(byId.Size(), static_cast<int64_t>(bytes.size()));

  layouttest::RegisterTestClasses();
  layouttest::TTestForm form(nullptr);
  TReader(byId).ReadRootComponent(form);
  EXPECT_EQ(form.Caption(), "from a resource");
}

TEST(ResourceStreamTest, MissingResourceIsReported) {
  try {
    TResourceStream stream(GetModuleHandleW(nullptr), "NOPE");
    FAIL() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource NOPE not found");
  }
}

}  // namespace
}  // namespace hv
