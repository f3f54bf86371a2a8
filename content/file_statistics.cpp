#include "content/file_statistics.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"

namespace content {
namespace {

// The figures of one stretch of the text, counted as the line list splits it.
struct Tally {
  std::int64_t lines = 0;
  std::int64_t empty = 0;
  std::int64_t longest = 0;
  std::int64_t shortest = INT64_MAX;
  bool endsAtZero = false;  // the text ends inside this stretch, at a zero byte

  void Line(std::int64_t length) {
    ++lines;
    if (length == 0) {
      ++empty;
      return;
    }
    longest = std::max(longest, length);
    shortest = std::min(shortest, length);
  }
};

// Counts the lines of [begin, end) as if it were a whole text: a break ends a line (CR
// LF being one break), what follows the last break is one more line, and a zero byte
// ends the text. Only the break bytes are looked at, 64 bytes at a time.
Tally CountStretch(const char* begin, const char* end) {
  Tally tally;
  const char* start = begin;  // of the line being read
  const auto atBreak = [&](const char* at) {
    if (*at == '\0') {  // the text ends here, with the line before it
      if (at > start) tally.Line(at - start);
      tally.endsAtZero = true;
      return false;
    }
    if (*at == '\n' && at > begin && at[-1] == '\r') {  // the CR has ended the line
      start = at + 1;
      return true;
    }
    tally.Line(at - start);
    start = at + 1;
    return true;
  };
  const char* block = begin;
  for (; block < end; block += 64)
    for (std::uint64_t bits = LineBreakMask(block, end); bits != 0; bits &= bits - 1)
      if (!atBreak(block + std::countr_zero(bits))) return tally;
  if (start < end) tally.Line(end - start);
  return tally;
}

// Where the text may be cut for counting in parts: just after the first break at or
// after `at` (after the LF of a CR LF); `end` when there is none.
const char* CutAfterBreak(const char* at, const char* end) {
  for (; at < end; ++at)
    if (*at == '\n' || *at == '\r') {
      if (*at == '\r' && at + 1 < end && at[1] == '\n') ++at;
      return at + 1;
    }
  return end;
}

// Large texts are counted in as many parts as the processor has cores, the host's
// messages running while the parts are counted.
std::vector<Tally> CountParts(std::string_view text, platform::Host* host) {
  constexpr std::size_t kSmall = std::size_t{8} << 20;
  const std::size_t parts =
      text.size() < kSmall ? 1
                           : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 16);
  const char* const end = text.data() + text.size();
  std::vector<const char*> cuts{text.data()};
  for (std::size_t i = 1; i < parts; ++i)
    cuts.push_back(
        CutAfterBreak(std::max(cuts.back(), text.data() + text.size() / parts * i), end));
  cuts.push_back(end);
  if (parts == 1) return {CountStretch(cuts[0], cuts[1])};
  std::vector<std::future<Tally>> counting;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
    counting.push_back(std::async(std::launch::async, CountStretch, cuts[i], cuts[i + 1]));
  std::vector<Tally> tallies;
  for (auto& part : counting) {
    while (part.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
      if (host != nullptr) host->ProcessMessages();
    tallies.push_back(part.get());
  }
  return tallies;
}

}  // namespace

FileStatistics CountLines(const LineList& text, platform::Host* host) {
  FileStatistics figures;
  std::int64_t shortest = INT64_MAX;
  for (const Tally& part : CountParts(text.text(), host)) {
    figures.lines += part.lines;
    figures.empty += part.empty;
    figures.longest = std::max(figures.longest, part.longest);
    shortest = std::min(shortest, part.shortest);
    if (part.endsAtZero) break;  // the text ends there: later parts are no part of it
  }
  figures.data = figures.lines - figures.empty;
  figures.shortest = figures.data == 0 ? 0 : shortest;
  return figures;
}

fileset::RunEnd RunFileStatistics(const fileset::FileList& files, int currentRow,
                                  platform::Host& host,
                                  const std::function<void(const FileStatistics&)>& show) {
  if (currentRow < 1 || currentRow >= files.RowCount() || !files.IsMarked(currentRow)) {
    host.ShowError(kStatisticsNotMarked);
    return {};
  }
  {
    platform::CommandScope running(host, 1);
    host.RunAt(0, files.Cell(currentRow, fileset::kNameColumn));
    const platform::NativePath path = files.NativeFullPath(currentRow);
    const std::optional<platform::DirEntry> entry = platform::ReadEntry(path);
    const std::int64_t size = entry ? entry->size : 0;
    const LineList text = LineList::Load(path);
    FileStatistics figures = CountLines(text, &host);
    // Figures of a file another program changed while it was counted would be of no file.
    if (!text.Intact()) platform::ThrowCannotOpen(path);
    figures.size = size;
    figures.average = figures.data == 0 ? 0 : size / figures.data;
    figures.fullPath = files.FullPath(currentRow);
    show(figures);
  }
  host.ShowInfo(kStatisticsDone);
  return {};
}

}  // namespace content
