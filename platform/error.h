#pragma once
// The one error type of the core: it ends the running command, and the window shows
// its text in the application-wide error box.

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/native_path.h"

namespace platform {

class CommandError : public std::runtime_error {
 public:
  // `utf8Text` is shown exactly as given.
  explicit CommandError(const std::string& utf8Text) : std::runtime_error(utf8Text) {}
};

// "'%s' is not a valid integer value", with `engineText` shown as typed.
[[noreturn]] void ThrowInvalidInteger(std::string_view engineText);
// "'%s' is not a valid floating point value".
[[noreturn]] void ThrowInvalidFloat(std::string_view engineText);
// "Cannot open file %s" / "Cannot create file %s", with the path as it is shown.
[[noreturn]] void ThrowCannotOpen(const NativePath& path);
[[noreturn]] void ThrowCannotCreate(const NativePath& path);
// The text ThrowCannotCreate throws, for one who tells of the error before it happens.
std::string CannotCreateText(const NativePath& path);

}  // namespace platform
