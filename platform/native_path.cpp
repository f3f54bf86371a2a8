#include "platform/native_path.h"

#include "platform/code_page.h"

namespace platform {

std::string NativeBytesOf(std::string_view engineText) {
  return IsAscii(engineText) ? std::string(engineText) : EngineToUtf8(engineText);
}

std::string EngineOf(std::string_view nativeBytes) {
  if (IsAscii(nativeBytes)) return std::string(nativeBytes);
  if (IsUtf8(nativeBytes)) return Utf8ToEngine(nativeBytes);
  // GB18030 bytes are engine text already; the trip through UTF-16 only replaces the
  // bytes that form no character.
  return Utf16ToEngine(EngineToUtf16(nativeBytes));
}

std::optional<std::string> NewNativeName(std::string_view engineName) {
  if (engineName.empty() || engineName == "." || engineName == "..") return std::nullopt;
  // One look at each byte: a rename asks this for every row.
  bool ascii = true;
  for (const char c : engineName) {
    if (c == '/' || c == '\0') return std::nullopt;
    ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  }
  if (ascii) return std::string(engineName);
  std::string native = EngineToUtf8(engineName);
  if (Utf8ToEngine(native) != engineName) return std::nullopt;
  return native;
}

NativePath JoinPath(const NativePath& folder, std::string_view nativeName) {
  std::string path;
  path.reserve(folder.bytes().size() + 1 + nativeName.size());
  path.append(folder.bytes());
  path += '/';
  path.append(nativeName);
  return NativePath(std::move(path));
}

}  // namespace platform
