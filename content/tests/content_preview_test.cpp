#include "content/content_preview.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "content/delete_lines.h"
#include "content/keyword_merge.h"
#include "content/line_sync.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using fileset::PreviewStatus;

// The preview of deleting line 2 writes nothing and tells, file by file, what the run
// then does, up to the file the run ends at.
TEST(ContentPreview, TellsWhatTheRunThenDoes) {
  platform::testing::TempFolder temp;
  fileset::FileList files;
  platform::testing::RecordingHost host;
  const std::pair<const char*, std::string> contents[] = {
      {"a.txt", "1\n2\n3\n"}, {"c.txt", "x\r\n"}, {"c.txt", ""}, {"z.txt", std::string("1\n\0", 3)},
      {"ro.txt", "1\n2\n"},   {"b.txt", "1\n2\n"}};
  for (const auto& [name, bytes] : contents) {
    if (!temp.Exists(name)) temp.Write(name, bytes);
    files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
    files.SetMark(files.RowCount() - 1, true);
  }
  chmod(temp.Path("ro.txt").c_str(), 0444);
  DeleteLinesSettings settings;
  settings.lineNumbers = "2";
  settings.backup = false;

  const fileset::Preview preview =
      PreviewContentFrame(files, host, *std::get<1>(PrepareDeleteLines(settings)));
  struct Expected {
    PreviewStatus status;
    const char* after;
    std::string reason;
  } const expected[] = {
      {PreviewStatus::Change, "3 -> 2", ""},
      {PreviewStatus::Same, "1 -> 1", ""},  // nothing to delete, and already CR LF
      {PreviewStatus::Skip, "", std::string(fileset::kRepeatedFile)},
      {PreviewStatus::Skip, "", std::string(fileset::kNotText)},
      {PreviewStatus::Stop, "", "Cannot create file " + temp.Path("ro.txt")},
  };
  ASSERT_EQ(preview.rows.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(preview.rows[i].status, expected[i].status);
    EXPECT_EQ(preview.rows[i].after, expected[i].after);
    EXPECT_EQ(preview.rows[i].reason, expected[i].reason);
  }
  EXPECT_EQ(fileset::PreviewSummary(preview), "1 更改, 1 不变, 2 跳过, 运行将在此停止");
  EXPECT_EQ(temp.Read("a.txt"), "1\n2\n3\n");
  EXPECT_EQ(temp.Read("c.txt"), "x\r\n");

  // The run ends where the preview said, after changing what it said.
  EXPECT_THROW(RunDeleteLines(files, settings, host), platform::CommandError);
  EXPECT_EQ(temp.Read("a.txt"), "1\r\n3\r\n");
  EXPECT_EQ(temp.Read("c.txt"), "x\r\n");
  EXPECT_EQ(temp.Read("b.txt"), "1\n2\n");
}

// Merge and sync list their target, combine the file it joins into; a refused run shows
// its box and nothing more.
TEST(ContentPreview, TheTargetOfTheModesThatReadOtherFiles) {
  platform::testing::TempFolder temp;
  fileset::FileList files;
  platform::testing::RecordingHost host;
  for (const auto& [name, bytes] :
       {std::pair{"a.txt", "k=new\n"}, std::pair{"b.txt", "k=old\nx\n"}}) {
    temp.Write(name, bytes);
    files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
  }
  files.SetMark(1, true);
  EXPECT_TRUE(PreviewTwoFileFrame(files, host, *std::get<1>(PrepareKeywordMerge({}))).refused);
  EXPECT_EQ(host.boxes, std::vector<std::string>{"[error] " + std::string(kMergeNeedsTwoFiles)});
  files.SetMark(2, true);

  fileset::Preview merge = PreviewTwoFileFrame(files, host, *std::get<1>(PrepareKeywordMerge({})));
  ASSERT_EQ(merge.rows.size(), 1u);
  EXPECT_EQ(merge.rows[0].before, temp.Path("b.txt"));
  EXPECT_EQ(merge.rows[0].status, PreviewStatus::Change);
  LineSyncSettings sync;
  sync.keywords = "k;x";  // source line 1 holds k; nothing past the target's end
  EXPECT_EQ(PreviewTwoFileFrame(files, host, *std::get<1>(PrepareLineSync(sync))).rows[0].after,
            "2 -> 2");
  temp.Write("a.txt", "k\n2\nk\n");
  const fileset::Preview pastTheEnd =
      PreviewTwoFileFrame(files, host, *std::get<1>(PrepareLineSync(sync)));
  EXPECT_EQ(pastTheEnd.rows[0].status, PreviewStatus::Stop);
  EXPECT_EQ(pastTheEnd.rows[0].reason, "List index out of bounds (2)");

  const fileset::Preview combine = PreviewCombine(files, host);
  ASSERT_EQ(combine.rows.size(), 1u);
  EXPECT_EQ(combine.rows[0].after, "2 -> 5");
  EXPECT_EQ(temp.Read("b.txt"), "k=old\nx\n");
}

}  // namespace
}  // namespace content
