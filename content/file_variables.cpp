#include "content/file_variables.h"

#include "platform/engine_text.h"

namespace content {

std::string FileTemplate(std::string_view format, std::string_view fullPath,
                         std::string_view name) {
  std::string out(format);
  if (platform::FindNoCase(format, "${fullname") != std::string_view::npos)
    out = platform::ReplaceAllNoCase(out, "${fullname}", fullPath);
  if (platform::FindNoCase(format, "${filename") != std::string_view::npos)
    out = platform::ReplaceAllNoCase(out, "${filename}", name);
  return out;
}

}  // namespace content
