#pragma once
// The page "合并关键字内容": the values of a source file's key=value lines carried into
// the target file for every key both hold, as in configuration and translation files.

#include <cstdint>
#include <string_view>

#include "content/line_list.h"
#include "content/two_file_frame.h"
#include "fileset/batch_run.h"
#include "fileset/file_list.h"
#include "platform/host.h"

namespace content {

inline constexpr std::string_view kMergeNeedsTwoFiles = "请选择需要按关键字进行合并的两个文件！";

struct KeywordMergeSettings {  // the page's fields
  bool backup = true;          // chkSynBak
};

// A line as a key and its value: the bytes before the first "=" and those after it.
// Blanks belong to both. Without "=" the key is empty.
struct KeyValue {
  std::string_view key;
  std::string_view value;
};
KeyValue SplitKeyValue(std::string_view line);

// The target's lines with the source merged in; gives the count of records. For each
// source line with a key, in order: the target line that is then the first with that key
// (letter case ignored as the engine folds it) becomes the source line's key, "=" and
// the value of the first source line with that key, or is deleted when that value is
// empty; each such line found is a record. Keys the target lacks are not added, lines
// without a key are left alone. The target's keys are indexed once, so each source line
// costs one lookup.
std::int64_t MergeKeywords(const LineList& source, const LineList& target, LineSink& output,
                           platform::Host* host = nullptr);

fileset::Prepared<TwoFileMode> PrepareKeywordMerge(const KeywordMergeSettings& settings);

fileset::RunEnd RunKeywordMerge(fileset::FileList& files, const KeywordMergeSettings& settings,
                                platform::Host& host);

}  // namespace content
