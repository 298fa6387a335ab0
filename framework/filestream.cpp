#include "framework/filestream.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "framework/sysutils.h"
#include "framework/winstring.h"

namespace hv {

std::string SysErrorMessage(unsigned long code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (length && buffer) text = Narrow(std::wstring_view(buffer, length));
  if (buffer) LocalFree(buffer);
  text = std::string(Trim(text));
  if (text.empty()) text = Format("System error, code %lu", code);
  return text;
}

TFileStream::TFileStream(const std::string& path, TFileMode mode) : fileName_(path) {
  DWORD access = GENERIC_READ;
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if (mode == TFileMode::fmOpenReadWrite) {
    access |= GENERIC_WRITE;
    share = FILE_SHARE_READ;
  } else if (mode == TFileMode::fmCreate) {
    access |= GENERIC_WRITE;
    share = FILE_SHARE_READ;
    disposition = CREATE_ALWAYS;
  }
  handle_ = CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) {
    std::string reason = SysErrorMessage(GetLastError());
    if (mode == TFileMode::fmCreate)
      throw EFCreateError(Format("Cannot create file \"%s\". %s", path.c_str(), reason.c_str()));
    throw EFOpenError(Format("Cannot open file \"%s\". %s", path.c_str(), reason.c_str()));
  }
}

TFileStream::~TFileStream() { CloseHandle(handle_); }

size_t TFileStream::Read(void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(handle_, static_cast<char*>(buffer) + done, chunk, &got, nullptr) || got == 0) break;
    done += got;
  }
  return done;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(handle_, static_cast<const char*>(buffer) + done, chunk, &put, nullptr) || put == 0) break;
    done += put;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  DWORD method = origin == TSeekOrigin::soBeginning ? FILE_BEGIN : origin == TSeekOrigin::soCurrent ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(handle_, distance, &position, method)) return -1;
  return position.QuadPart;
}

int64_t TFileStream::Size() {
  LARGE_INTEGER size;
  return GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
}

void TFileStream::SetSize(int64_t size) {
  int64_t position = Position();
  if (size < 0 || Seek(size, TSeekOrigin::soBeginning) < 0 || !SetEndOfFile(handle_))
    throw EWriteError("Stream write error");
  if (position < size) SetPosition(position);
}

TResourceStream::TResourceStream(HINSTANCE instance, const std::string& name) {
  Load(instance, Widen(name).c_str(), name);
}

TResourceStream::TResourceStream(HINSTANCE instance, int id) {
  Load(instance, MAKEINTRESOURCEW(id), std::to_string(id));
}

void TResourceStream::Load(HINSTANCE instance, const wchar_t* name, const std::string& shownName) {
  HRSRC info = FindResourceW(instance, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL global = info ? LoadResource(instance, info) : nullptr;
  const void* data = global ? LockResource(global) : nullptr;
  if (!data) throw EResNotFound(Format("Resource %s not found", shownName.c_str()));
  SetPointer(data, SizeofResource(instance, info));
}

TMappedFile::~TMappedFile() { Close(); }

void TMappedFile::Close() {
  if (view_) UnmapViewOfFile(view_);
  if (mapping_) CloseHandle(mapping_);
  if (file_) CloseHandle(file_);
  view_ = nullptr;
  mapping_ = file_ = nullptr;
  size_ = 0;
}

bool TMappedFile::Open(const std::string& path) {
  Close();
  // Shared for reading only: the bytes cannot change or go under the view.
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  file_ = file;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
      static_cast<uint64_t>(size.QuadPart) > static_cast<uint64_t>(SIZE_MAX)) {
    Close();
    return false;
  }
  mapping_ = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping_) view_ = static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
  if (!view_) {
    Close();
    return false;
  }
  size_ = static_cast<size_t>(size.QuadPart);
  return true;
}

}  // namespace hv
