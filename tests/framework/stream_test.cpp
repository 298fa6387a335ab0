#include "framework/stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/sysutils.h"

namespace hv {
namespace {

TEST(MemoryStreamTest, ReadsWritesAndSeeks) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  EXPECT_EQ(stream.Position(), 6);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 4);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, 8), 2u) << "a read stops at the end";
  EXPECT_EQ(std::string(buffer, 2), "ef");
  EXPECT_EQ(stream.Read(buffer, 8), 0u);
  EXPECT_EQ(stream.Seek(-7, TSeekOrigin::soCurrent), -1) << "before the start";
  EXPECT_EQ(stream.Position(), 6) << "a failed seek leaves the position";
  EXPECT_EQ(stream.Seek(INT64_MAX, TSeekOrigin::soCurrent), -1);
  stream.SetPosition(1);
  stream.WriteBuffer("XY", 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 6), "aXYdef");
}

TEST(MemoryStreamTest, WritingPastTheEndFillsWithZerosAndSetSizeTruncates) {
  TMemoryStream stream;
  stream.WriteBuffer("ab", 2);
  stream.Seek(3, TSeekOrigin::soEnd);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(stream.Bytes(), (std::vector<uint8_t>{'a', 'b', 0, 0, 0, 'z'}));
  stream.SetSize(1);
  EXPECT_EQ(stream.Position(), 1);
  EXPECT_EQ(stream.Bytes(), (std::vector<uint8_t>{'a'}));
  EXPECT_THROW(stream.SetSize(-1), EWriteError);
  EXPECT_EQ(stream.Seek(static_cast<int64_t>(TMemoryStream::kMaxSize) + 1, TSeekOrigin::soBeginning), -1);
  stream.Seek(static_cast<int64_t>(TMemoryStream::kMaxSize), TSeekOrigin::soBeginning);
  EXPECT_EQ(stream.Write("x", 1), 0u) << "no stream grows beyond the limit";
  EXPECT_EQ(stream.Size(), 1);
}

TEST(MemoryStreamTest, ShortTransfersRaise) {
  TMemoryStream stream(std::vector<uint8_t>{1, 2, 3});
  uint8_t buffer[4];
  try {
    stream.ReadBuffer(buffer, 4);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  const uint8_t bytes[] = {9, 8, 7};
  TCustomMemoryStream view(bytes, sizeof bytes);
  try {
    view.WriteBuffer("x", 1);
    FAIL() << "no exception";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
  EXPECT_NO_THROW(view.ReadBuffer(buffer, 0));
  view.ReadBuffer(buffer, 3);
  EXPECT_EQ(buffer[2], 7);
  EXPECT_EQ(view.Seek(10, TSeekOrigin::soBeginning), 10) << "a view may be positioned past its end";
  EXPECT_EQ(view.Read(buffer, 1), 0u);
}

TEST(MemoryStreamTest, CopiesAndLoadsWholeStreams) {
  const char text[] = "0123456789";
  TCustomMemoryStream source(text, 10);
  source.SetPosition(7);
  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(source, 0), 10) << "count 0 copies everything from the start";
  EXPECT_EQ(copy.Size(), 10);
  source.SetPosition(2);
  TMemoryStream part;
  part.CopyFrom(source, 3);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(part.Memory()), 3), "234");
  EXPECT_THROW(part.CopyFrom(source, 6), EReadError) << "only five bytes are left";
  TMemoryStream loaded;
  loaded.LoadFromStream(copy);
  EXPECT_EQ(loaded.Bytes(), copy.Bytes());
  EXPECT_EQ(loaded.Position(), 0);
  source.SetPosition(4);
  EXPECT_EQ(source.ReadRest(6).size(), 6u);
  source.SetPosition(0);
  EXPECT_THROW(source.ReadRest(9), EReadError);
}

}  // namespace
}  // namespace hv
