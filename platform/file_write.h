#pragma once
// Writing and deleting whole files. Paths are engine text.

#include <string_view>

namespace platform {

// Replaces the contents of the file at `path` with `bytes` (creating it when absent)
// without ever leaving a half-written file: a temporary sibling is written and flushed,
// then renamed over the target, which keeps its permission bits and user.DOSATTRIB. A
// symbolic link is followed and its target replaced; a file with several hard links is
// written in place, once the complete copy is safe on disk beside it.
// Throws CommandError "Cannot create file %s" for a read-only file or any failure; the
// file is then as it was.
void ReplaceFileContents(std::string_view path, std::string_view bytes);

// Deletes a file directly (no recycle bin). A read-only file is not deleted; false when
// nothing was deleted.
bool DeleteFile(std::string_view path);

}  // namespace platform
