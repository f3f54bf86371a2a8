#include "platform/error.h"

#include "platform/code_page.h"

namespace platform {
namespace {

// Appending piece by piece: g++ 12 warns (falsely) about operator+ chains at -O2.
[[noreturn]] void ThrowWith(std::string_view before, std::string_view engineText,
                            std::string_view after) {
  std::string text(before);
  text.append(EngineToUtf8(engineText));
  text.append(after);
  throw CommandError(text);
}

}  // namespace

void ThrowInvalidInteger(std::string_view engineText) {
  ThrowWith("'", engineText, "' is not a valid integer value");
}

void ThrowInvalidFloat(std::string_view engineText) {
  ThrowWith("'", engineText, "' is not a valid floating point value");
}

void ThrowCannotOpen(const NativePath& path) {
  ThrowWith("Cannot open file ", EngineOf(path.bytes()), "");
}

void ThrowCannotCreate(const NativePath& path) { throw CommandError(CannotCreateText(path)); }

std::string CannotCreateText(const NativePath& path) {
  std::string text("Cannot create file ");
  text.append(EngineToUtf8(EngineOf(path.bytes())));
  return text;
}

}  // namespace platform
