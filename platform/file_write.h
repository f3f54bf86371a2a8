#pragma once
// Writing and deleting whole files. Paths are native bytes (native_path.h).

#include <cstring>
#include <memory>
#include <string_view>

#include "platform/native_path.h"

namespace platform {

// Streams the new contents of the file at `path` into a temporary sibling; Commit() puts
// them in place as ReplaceFileContents does. Until then the file is as it was, and a
// replacement destroyed without Commit() leaves no trace. For texts too large to build
// in memory twice.
// The copy is written past the file cache where the file system allows, in large
// blocks that a helper thread carries to the disk while the next block is filled: a
// save is flushed to the disk before it replaces the file anyway, and filling the
// cache with a gigabyte first costs more than the writing.
// Opening throws CommandError "Cannot create file %s" for a read-only file, a path that
// is no regular file, or a sibling that cannot be made; Append and Commit throw it when
// a write fails, and Commit when the new text cannot take the permission bits or the
// DOS attribute word it is to keep.
class FileReplacement {
 public:
  // With `permissionsFrom`, the new text gets the permission bits of that file (set
  // before the text is put in place, so they are never wider for a moment).
  explicit FileReplacement(const NativePath& path, const NativePath& permissionsFrom = {});
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Append(std::string_view bytes) {
    if (bytes.size() <= static_cast<std::size_t>(end_ - next_)) {
      if (!bytes.empty()) std::memcpy(next_, bytes.data(), bytes.size());
      next_ += bytes.size();
      return;
    }
    AppendToFullBuffer(bytes);
  }
  void Commit();

 private:
  void AppendToFullBuffer(std::string_view bytes);
  void RewriteInPlace();

  struct State;
  std::unique_ptr<State> state_;
  char* next_ = nullptr;  // the free room of the block being filled
  char* end_ = nullptr;
};

// Replaces the contents of the file at `path` with `bytes` (creating it when absent)
// without ever leaving a half-written file: a temporary sibling is written and flushed,
// then renamed over the target, which keeps its permission bits and user.DOSATTRIB. A
// symbolic link is followed and its target replaced; a file with several hard links is
// written in place, once the complete copy is safe on disk beside it.
// A new file gets the mode any new file gets here (0666 less the umask, or the folder's
// default ACL).
// Throws CommandError "Cannot create file %s" for a read-only file or any failure, such
// as permission bits or a DOS attribute word that cannot be given to the new text; the
// file is then as it was.
void ReplaceFileContents(const NativePath& path, std::string_view bytes);

// A copy of the file at `originalPath` whose bytes are at hand: `bytes` replace the
// contents of `copyPath` as ReplaceFileContents does (the copy is safe on the disk when
// this returns), and the copy takes the permission bits of the original. Throws as
// ReplaceFileContents does.
void WriteCopy(const NativePath& originalPath, const NativePath& copyPath, std::string_view bytes);

// Deletes a file directly (no recycle bin). A read-only file is not deleted; false when
// nothing was deleted.
bool DeleteFile(const NativePath& path);

}  // namespace platform
