#pragma once
// Rewriting a file that has several hard links. Its inode must keep its place, so every
// link sees the new text, and it cannot simply be replaced by a new file: it is written
// over from a complete copy. A process killed halfway would leave it half old, half new;
// so the rewrite is recorded first, with the copy named beside the file, and whatever
// rewrite a killed process left is completed by the next one that starts or runs.
//
// The records live in the folder "rewrites" of the journal: $TESSALY_JOURNAL_DIR, else
// $XDG_DATA_HOME/tessaly/journal, else ~/.local/share/tessaly/journal.

#include <string>

#include "platform/native_path.h"

namespace platform {

// The folder part of a path ("." for a bare name, "/" for a name in the root).
std::string FolderOf(const std::string& path);

// Makes the entries of `folder` (names added, renamed, removed) safe on the disk.
bool FlushFolder(const std::string& folder);

// How writing a file over from its copy ended.
enum class InPlace { Done, Untouched, Broken };

// Writes the file at `target` over with the bytes of the open copy `copyFd`, keeping its
// inode. Room for the text is taken first, so a full disk fails before the file changes
// (Untouched); a failure later leaves it Broken, half written.
InPlace WriteOver(int copyFd, const std::string& target);

// A rewrite recorded on the disk until it is done: the file at `target` (identified by
// device and inode) is to take the bytes of the complete copy `copy`, `size` bytes.
class RecordedRewrite {
 public:
  // Throws CommandError "Cannot create file %s" (with `shown` as the path) when the record
  // cannot be made safe on the disk: without it the rewrite may not start.
  RecordedRewrite(const NativePath& shown, const std::string& target, const std::string& copy,
                  std::uint64_t device, std::uint64_t inode, std::int64_t size);
  ~RecordedRewrite();
  RecordedRewrite(const RecordedRewrite&) = delete;
  RecordedRewrite& operator=(const RecordedRewrite&) = delete;
  // The rewrite is done or will not happen: the record goes.
  void Finish();
  // The rewrite broke off: the record stays for the next run to complete it.
  void Keep() { kept_ = true; }

 private:
  std::string path_;  // the record's file
  bool finished_ = false;
  bool kept_ = false;
};

// Completes every rewrite that a process killed halfway left behind, or discards it where
// the file is no longer the one that was being rewritten; removes the copies and records
// of both. Records that cannot be read are left as they are.
void CompleteInterruptedRewrites();

}  // namespace platform
