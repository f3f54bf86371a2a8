#pragma once
// Paths as the file system holds them. A name is bytes: the names this program makes are
// UTF-8, but folders and archives copied from Chinese Windows systems hold GBK bytes, and
// such a name must lead to its own file, never to the file whose name its decoded text
// would give. So a path is kept as its bytes from the listing to the system call, and
// only the text shown of it (engine text, code_page.h) is decoded.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

class NativePath {
 public:
  NativePath() = default;
  explicit NativePath(std::string bytes) : bytes_(std::move(bytes)) {}
  const std::string& bytes() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  bool empty() const { return bytes_.empty(); }
  bool operator==(const NativePath&) const = default;

 private:
  std::string bytes_;
};

// The bytes of a text typed or made in the engine code page: its UTF-8.
std::string NativeBytesOf(std::string_view engineText);
inline NativePath NativeOf(std::string_view engineText) {
  return NativePath(NativeBytesOf(engineText));
}

// The engine text shown of native bytes (a name, a path): their UTF-8 decoding; when
// they are not UTF-8, their GB18030 decoding (GBK bytes read as the Chinese they are),
// each byte that forms no character shown as U+FFFD.
std::string EngineOf(std::string_view nativeBytes);

// The bytes of a new name made in engine text (a rename's), or nothing when it is no
// name to give a file: empty, "." or "..", a separator or a zero byte in it, or text that
// would not read back as itself once written (a cut half of a character).
std::optional<std::string> NewNativeName(std::string_view engineName);

// folder, separator, name; the empty folder stands for the root, as "/name".
NativePath JoinPath(const NativePath& folder, std::string_view nativeName);

}  // namespace platform
