#pragma once
// What a run would do, worked out without changing anything on the disk: one row per
// file the run would come to, in run order, and a summary.

#include <string>
#include <string_view>
#include <vector>

namespace fileset {

enum class PreviewStatus {
  Change,  // 更改: the run changes the file
  Same,    // 不变: the run would leave the file exactly as it is
  Skip,    // 跳过: the run passes the file over
  Stop,    // 停止: the run ends at this file with an error
};

// Why a row is passed over (or, 覆盖, what a change replaces).
inline constexpr std::string_view kTargetExists = "目标已存在";
inline constexpr std::string_view kSameNewName = "重名";
inline constexpr std::string_view kInvalidName = "名称无效";
inline constexpr std::string_view kCannotRead = "无法读取";
inline constexpr std::string_view kOverwrites = "覆盖";
inline constexpr std::string_view kNotText = "不是文本";
inline constexpr std::string_view kRepeatedFile = "重复";

struct PreviewRow {
  int row = 0;  // the grid row
  PreviewStatus status = PreviewStatus::Change;
  std::string before;  // engine text: a full path, or what a file becomes
  std::string after;
  std::string reason;  // UTF-8, as messages are (a reason word or an error's text); may be empty
};

struct Preview {
  std::vector<PreviewRow> rows;
  // A check of the run refused (its error box was shown): there is nothing to preview.
  bool refused = false;
  std::string_view focus;  // the control the refusal gives the keyboard focus, if any
  bool stops() const { return !rows.empty() && rows.back().status == PreviewStatus::Stop; }
};

// "更改", "不变", "跳过", "停止".
std::string_view StatusWord(PreviewStatus status);

// "N 更改, M 不变, K 跳过", and ", 运行将在此停止" when the run would end at an error.
std::string PreviewSummary(const Preview& preview);

}  // namespace fileset
