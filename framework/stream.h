#pragma once
// Byte streams: the abstract stream, a growable memory stream and a read-only
// view over memory someone else owns. Portable; file and resource streams are
// in filestream.h.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hv {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Both move at most count bytes and return how many they moved.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Returns the new position, or -1 (position unchanged) when the target lies
  // before the start or the stream cannot seek there.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  // Raises EWriteError when the stream cannot be resized.
  virtual void SetSize(int64_t size);

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }

  // All or nothing: a short transfer raises EReadError "Stream read error" or
  // EWriteError "Stream write error".
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  // Copies count bytes from source's position, or all of source from its start
  // when count is 0. Returns the bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);
  // The bytes from the position to the end; raises EReadError beyond maxSize.
  std::vector<uint8_t> ReadRest(size_t maxSize);
};

// A stream over bytes held elsewhere (a resource, a test buffer); writing
// moves nothing, so WriteBuffer raises.
class TCustomMemoryStream : public TStream {
 public:
  TCustomMemoryStream() = default;
  TCustomMemoryStream(const void* memory, size_t size) { SetPointer(memory, size); }

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void*, size_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(size_); }

  const uint8_t* Memory() const { return memory_; }

 protected:
  void SetPointer(const void* memory, size_t size);

 private:
  const uint8_t* memory_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
};

// A stream that owns its bytes and grows as it is written; seeking past the
// end and writing fills the gap with zeros.
class TMemoryStream : public TStream {
 public:
  // Larger streams than this are refused (writes move nothing, SetSize raises).
  static constexpr size_t kMaxSize = size_t{1} << 30;

  TMemoryStream() = default;
  explicit TMemoryStream(std::span<const uint8_t> bytes) { LoadFrom(bytes); }

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  // Replaces the content and rewinds.
  void LoadFrom(std::span<const uint8_t> bytes);
  void LoadFromStream(TStream& source);
  void Clear();
  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }

 private:
  std::vector<uint8_t> data_;
  size_t position_ = 0;
};

}  // namespace hv
