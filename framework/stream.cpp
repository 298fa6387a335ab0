#include "framework/stream.h"

#include <algorithm>
#include <cstring>

#include "framework/sysutils.h"

namespace hv {

namespace {
// The position a seek asks for, or -1 when it lies outside 0..limit.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size, int64_t limit) {
  int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? position : size;
  if (offset > 0 ? base > limit - offset : base + offset < 0) return -1;
  int64_t target = base + offset;
  return target > limit ? -1 : target;
}
}  // namespace

int64_t TStream::Size() {
  int64_t position = Position();
  int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EWriteError("Stream write error"); }

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  uint8_t buffer[16384];
  int64_t done = 0;
  while (done < count) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(count - done, sizeof buffer));
    source.ReadBuffer(buffer, chunk);
    WriteBuffer(buffer, chunk);
    done += static_cast<int64_t>(chunk);
  }
  return done;
}

std::vector<uint8_t> TStream::ReadRest(size_t maxSize) {
  std::vector<uint8_t> bytes;
  int64_t left = Size() - Position();
  if (left > 0) {
    if (static_cast<uint64_t>(left) > maxSize) throw EReadError("Stream read error");
    bytes.resize(static_cast<size_t>(left));
    ReadBuffer(bytes.data(), bytes.size());
  }
  return bytes;
}

void TCustomMemoryStream::SetPointer(const void* memory, size_t size) {
  memory_ = static_cast<const uint8_t*>(memory);
  size_ = memory_ ? size : 0;
  position_ = 0;
}

size_t TCustomMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= size_) return 0;
  count = std::min(count, size_ - position_);
  std::memcpy(buffer, memory_ + position_, count);
  position_ += count;
  return count;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t target = SeekTarget(offset, origin, static_cast<int64_t>(position_), static_cast<int64_t>(size_),
                              static_cast<int64_t>(SIZE_MAX >> 1));
  if (target >= 0) position_ = static_cast<size_t>(target);
  return target;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= data_.size()) return 0;
  count = std::min(count, data_.size() - position_);
  std::memcpy(buffer, data_.data() + position_, count);
  position_ += count;
  return count;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0 || position_ > kMaxSize || count > kMaxSize - position_) return 0;
  size_t end = position_ + count;
  if (end > data_.size()) {
    if (end > data_.capacity()) data_.reserve(std::max(end, std::min(kMaxSize, data_.capacity() * 2)));
    data_.resize(end);
  }
  std::memcpy(data_.data() + position_, buffer, count);
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t target = SeekTarget(offset, origin, static_cast<int64_t>(position_), static_cast<int64_t>(data_.size()),
                              static_cast<int64_t>(kMaxSize));
  if (target >= 0) position_ = static_cast<size_t>(target);
  return target;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || static_cast<uint64_t>(size) > kMaxSize) throw EWriteError("Stream write error");
  data_.resize(static_cast<size_t>(size));
  position_ = std::min(position_, data_.size());
}

void TMemoryStream::LoadFrom(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxSize) throw EWriteError("Stream write error");
  data_.assign(bytes.begin(), bytes.end());
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  data_ = source.ReadRest(kMaxSize);
  position_ = 0;
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

}  // namespace hv
