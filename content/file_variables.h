#pragma once
// The variables the insert pages fill in per file before anything else.

#include <string>
#include <string_view>

namespace content {

// The format with ${Fullname} and ${Filename} (any letter case) replaced for one file.
std::string FileTemplate(std::string_view format, std::string_view fullPath, std::string_view name);

}  // namespace content
