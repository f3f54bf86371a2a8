#pragma once
// The contact-card converter of the format page (${VcfTo(s)}): a file of vCard cards
// into a table with a header line and one line per card.

#include <string_view>

#include "convert/text_converter.h"
#include "platform/host.h"
#include "platform/native_path.h"

namespace convert {

// Whether the converter makes a table for `extension` (from ExtensionOf): "csv" or "txt".
bool IsCardTableExtension(std::string_view extension);

// The cards of `source` as a table at `target`: "csv" comma-separated, its fields quoted
// where they hold a comma or a double quote, "txt" tab-separated. Each card's name
// ("N:" or "FN:", whichever comes first), cell and work telephone, e-mail, organisation
// and address are the values (after the first ":") of the first lines that begin with
// those properties, letter case counting; ";" is dropped from the values. A card is
// written at its "END:" line; one without it is not. A line that begins with a blank or a
// tab continues the line before it. `extension` must be one IsCardTableExtension takes.
// Throws as ConvertText does.
Converted ConvertContactCards(const platform::NativePath& source,
                              const platform::NativePath& target, std::string_view extension,
                              platform::Host* host = nullptr);

}  // namespace convert
