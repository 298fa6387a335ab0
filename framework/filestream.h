#pragma once
// Streams over files and over raw data resources of a module. Windows only.

#include <string>
#include <string_view>

#include "framework/stream.h"
#include "framework/winhandles.h"

namespace hv {

enum class TFileMode {
  fmOpenRead,       // an existing file, reading only; others may read and write it meanwhile
  fmOpenReadWrite,  // an existing file, reading and writing; others may read it
  fmCreate,         // a new or emptied file, reading and writing
};

class TFileStream : public TStream {
 public:
  // path is UTF-8. Raises EFOpenError "Cannot open file \"%s\". <reason>" or,
  // for fmCreate, EFCreateError "Cannot create file \"%s\". <reason>".
  TFileStream(const std::string& path, TFileMode mode);
  ~TFileStream() override;

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  const std::string& FileName() const { return fileName_; }

 private:
  void* handle_;
  std::string fileName_;
};

// A raw data (RT_RCDATA) resource as a read-only stream; the bytes stay in
// the module's image. Raises EResNotFound "Resource %s not found".
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(HINSTANCE instance, const std::string& name);
  TResourceStream(HINSTANCE instance, int id);

 private:
  void Load(HINSTANCE instance, const wchar_t* name, const std::string& shownName);
};

// An existing file's bytes, read where the system keeps the file rather than
// copied: for large files, whose copy would touch as many fresh pages again.
// Nobody may write the file while the view is open.
class TMappedFile {
 public:
  TMappedFile() = default;
  ~TMappedFile();
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;

  // False, with nothing open, when the file cannot be opened for reading
  // alone (another program writes it), is empty or cannot be mapped: the
  // caller reads it the ordinary way then.
  bool Open(const std::string& path);
  std::string_view Bytes() const { return {view_, size_}; }

 private:
  void Close();
  void* file_ = nullptr;
  void* mapping_ = nullptr;
  const char* view_ = nullptr;
  size_t size_ = 0;
};

// The platform's text for an error code, without the trailing line break.
std::string SysErrorMessage(unsigned long code);

}  // namespace hv
