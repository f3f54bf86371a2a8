#pragma once
// The item of the format page and the new file it names: "${XlsTo(csv)}" read into a
// converter name and an extension, and the path of the new file beside the old one.

#include <optional>
#include <string>
#include <string_view>

#include "platform/native_path.h"

namespace convert {

// The field read as the page reads it: the characters from the third to the second-last
// taken as the item; the name before its first "(", lowered; the first argument, the
// text after that "(" up to the item's last character and before any ",". `converts` is
// false when the field holds no "${" or the item no "(": then nothing is converted.
struct ConversionItem {
  bool converts = false;
  std::string name;       // lowered: "xlsto", "csvto", "txtto", "vcfto", or another
  std::string extension;  // the first argument, as typed
};
ConversionItem ParseConversionItem(std::string_view field);

// The extension an argument names: blanks and control characters trimmed at both ends,
// lowered, a leading "." dropped. Empty: the argument names none.
std::string ExtensionOf(std::string_view argument);

// The new file beside `source` with `extension` (from ExtensionOf, not empty): the name up
// to and including its last "." followed by the extension; a name without "." gets "."
// and the extension appended. The extension is engine text; new names are written in
// UTF-8.
platform::NativePath NewPathFor(const platform::NativePath& source, std::string_view extension);

}  // namespace convert
