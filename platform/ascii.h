#pragma once
// ASCII letter case, for texts that are known to be ASCII or whose other bytes must stay
// as they are (trail bytes of double-byte characters are never letters to fold here
// unless the caller walks whole characters).

namespace platform {

template <typename Char>
constexpr Char AsciiLower(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c + ('a' - 'A')) : c;
}

template <typename Char>
constexpr Char AsciiUpper(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - ('a' - 'A')) : c;
}

template <typename Char>
constexpr bool IsAsciiLetter(Char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace platform
