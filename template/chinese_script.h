#pragma once
// Simplified and traditional Chinese between engine text (code page 936 and its
// four-byte extension) and code page 950 (Big5), for the Gb2Big and Big2Gb functions.
// Characters that a code page cannot hold become its substitute, "?".

#include <string>
#include <string_view>

namespace tmpl {

// Engine text mapped to traditional characters and written as code page 950.
std::string GbToBig5(std::string_view text);

// Code page 950 text read, held to the characters of code page 936, mapped to
// simplified characters and written as engine text.
std::string Big5ToGb(std::string_view text);

}  // namespace tmpl
