#include "fileset/preview.h"

namespace fileset {

std::string_view StatusWord(PreviewStatus status) {
  switch (status) {
    case PreviewStatus::Change:
      return "更改";
    case PreviewStatus::Same:
      return "不变";
    case PreviewStatus::Skip:
      return "跳过";
    case PreviewStatus::Stop:
      break;
  }
  return "停止";
}

std::string PreviewSummary(const Preview& preview) {
  int counts[3] = {0, 0, 0};
  for (const PreviewRow& row : preview.rows)
    if (row.status != PreviewStatus::Stop) ++counts[static_cast<int>(row.status)];
  std::string text = std::to_string(counts[0]) + " 更改, " + std::to_string(counts[1]) + " 不变, " +
                     std::to_string(counts[2]) + " 跳过";
  if (preview.stops()) text += ", 运行将在此停止";
  return text;
}

}  // namespace fileset
