#pragma once
// The exception family of the framework and the text helpers every layer uses.
// Portable: no window system here.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace hv {

// Base of every exception the system raises; carries the message text that
// the application's error report shows.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  virtual std::string_view ClassName() const { return "Exception"; }

 private:
  std::string message_;
};

#define HV_EXCEPTION(Name, Base)                                       \
  class Name : public Base {                                           \
   public:                                                             \
    using Base::Base;                                                  \
    std::string_view ClassName() const override { return #Name; }      \
  }

HV_EXCEPTION(EConvertError, Exception);
HV_EXCEPTION(EInvalidOperation, Exception);
HV_EXCEPTION(EComponentError, Exception);
HV_EXCEPTION(EListError, Exception);
HV_EXCEPTION(EStreamError, Exception);
HV_EXCEPTION(EReadError, EStreamError);
HV_EXCEPTION(EWriteError, EStreamError);
HV_EXCEPTION(EFOpenError, EStreamError);
HV_EXCEPTION(EFCreateError, EStreamError);
HV_EXCEPTION(EResNotFound, Exception);
HV_EXCEPTION(EOutOfResources, Exception);
HV_EXCEPTION(EInvalidGraphic, Exception);
HV_EXCEPTION(EOSError, Exception);
HV_EXCEPTION(ETreeViewError, Exception);

// printf-style formatting into a std::string ("%d", "%s", "%u", "%x" ...).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Removes every leading and trailing byte of value 0x20 or below.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);  // ASCII case-insensitive

// Decimal conversion that raises EConvertError ("'x' is not a valid integer value").
int64_t StrToInt64(std::string_view text);
int StrToInt(std::string_view text);
bool TryStrToInt64(std::string_view text, int64_t& value);

// UTF-8 <-> UTF-16 without the platform, for code that must stay portable.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace hv
