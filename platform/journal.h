#pragma once
// The journal of batch runs: before a run changes a file, it records what puts the file
// back (write-ahead), so that any run, even one killed halfway, can be undone later,
// after the program was closed too. One folder per run under JournalFolder(): a record
// file, and the old files the run replaced or deleted (hard links to their old inodes
// where the journal shares their file system, copies elsewhere).
//
// The file operations of this layer record into the active journal themselves (renames,
// times, attributes, every replacement or new file, deletions), so a mode needs to do
// nothing more than run inside a JournalScope.

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_time.h"
#include "platform/native_path.h"

namespace platform {

// $TESSALY_JOURNAL_DIR, else $XDG_DATA_HOME/tessaly/journal, else
// ~/.local/share/tessaly/journal.
NativePath JournalFolder();

// How many runs are kept, and how many bytes of old files at most
// ($TESSALY_JOURNAL_MAX_MB mebibytes, 2 GiB without it).
inline constexpr int kKeptRuns = 100;
std::uint64_t JournalByteLimit();

// The record file of a run's folder, and the mark that it was undone.
inline constexpr char kRecordFile[] = "records";
inline constexpr char kUndoneMark[] = "undone";

// One run's journal. Each change is recorded before it is made; a change that then fails
// is cancelled, and the state a change left is recorded after it where only then known.
class RunJournal {
 public:
  // A new run's folder, numbered after the newest; older runs past the last kKeptRuns are
  // dropped. Null when the journal folder cannot be written: the run then goes unrecorded.
  static std::unique_ptr<RunJournal> Open(std::string_view mode);
  ~RunJournal();
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  using Ticket = std::uint64_t;  // a record, for its outcome; 0: none

  Ticket Renaming(const NativePath& from, const NativePath& to);
  Ticket SettingTimes(const NativePath& path, FileTime lastAccess, FileTime lastWrite);
  // The old mode bits and DOS word now; the new ones with Changed once they are set.
  Ticket SettingAttributes(const NativePath& path);
  void AttributesSet(Ticket ticket, const NativePath& path);
  // The file at `path` is about to be replaced by the flushed copy `copy` (by a rename,
  // or written over in place): its old inode is kept (linked, or copied when it is to be
  // written over or lies on another file system). A file that did not exist is recorded
  // as created. Makes the record safe on the disk, as the replacement will be.
  Ticket Replacing(const NativePath& path, const struct stat& copy, bool inPlace);
  // The change of `ticket` was made: the file at `path` as it now stands.
  void Replaced(Ticket ticket, const NativePath& path);
  void Cancel(Ticket ticket);
  // Deletes the file at `path` by moving it into the journal (copying it there first
  // when it lies on another file system); false when it could not be deleted.
  bool Delete(const NativePath& path);

 private:
  RunJournal(std::uint64_t id, NativePath folder, int records);
  Ticket Write(std::string_view type, std::string fields);
  // Keeps the old file at `path` (size `size`) as files/TICKET: linked (copied across file
  // systems), copied, or moved there. False when it cannot be kept within the byte
  // limit or at all; then the file is as it was.
  enum class How { Link, Copy, Move };
  bool Keep(const NativePath& path, std::uint64_t size, Ticket ticket, How how);
  void Sync();

  std::uint64_t id_;
  NativePath folder_;
  int records_;  // the record file
  Ticket next_ = 1;
  int unsynced_ = 0;
  std::uint64_t ownBytes_ = 0;
  std::int64_t othersBytes_ = -1;  // unknown until the first file is kept
};

// The journal the file operations record into; null outside a run.
RunJournal* ActiveJournal();

// A run's journal, active for the scope's life (none when it cannot be opened). Scopes do
// not nest: an inner one records into the outer run.
class JournalScope {
 public:
  explicit JournalScope(std::string_view mode);
  ~JournalScope();
  JournalScope(const JournalScope&) = delete;
  JournalScope& operator=(const JournalScope&) = delete;

 private:
  std::unique_ptr<RunJournal> journal_;
};

// Record fields: bytes at or below blank, "%" and DEL become %XX, so that a field holds
// no tab or line break.
std::string EscapeField(std::string_view bytes);
std::string UnescapeField(std::string_view field);
// The check value that closes every record line.
std::uint32_t RecordCheck(std::string_view line);

}  // namespace platform
