#pragma once
// The text converter of the format page (${TxtTo(s)}): a text file into a table of
// comma-separated values, or into a plain copy under another extension.

#include <string_view>

#include "platform/host.h"
#include "platform/native_path.h"

namespace convert {

// How a converter ended when it did not fail.
enum class Converted {
  Written,  // the new file is in place
  NotText,  // the source holds a zero byte: nothing was written
};

// `field` appended to `out` as a field of comma-separated values: in double quotes, its
// double quotes doubled, when it holds a comma or a double quote (a field of a text line
// holds no line break).
void AppendCsvField(std::string_view field, std::string& out);

// One line of tab-separated fields as a line of comma-separated values: a field that
// holds a comma or a double quote is put in double quotes, its double quotes doubled, so
// that every field stays in its column. Written into `out`, whose memory is reused.
void TabsToCsv(std::string_view line, std::string& out);

// The lines of `source` saved at `target` (each followed by CR LF; a leading UTF-8
// byte-order mark stays first), made comma-separated values when `extension` is "csv"
// and copied unchanged otherwise. The target is replaced only once its new text is
// complete; it may be the source itself. Throws CommandError "Cannot open file %s" for a
// source that cannot be read (or changed while it was read) and "Cannot create file %s"
// for a target that cannot be written.
Converted ConvertText(const platform::NativePath& source, const platform::NativePath& target,
                      std::string_view extension, platform::Host* host = nullptr);

}  // namespace convert
