#include "content/file_statistics.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>

#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

// lines, empty, data, longest, shortest
using Figures = std::array<std::int64_t, 5>;

Figures LineFiguresOf(const FileStatistics& s) {
  return {s.lines, s.empty, s.data, s.longest, s.shortest};
}

TEST(FileStatistics, CountsLinesAndTheirLengths) {
  struct Case {
    const char* name;
    std::string text;
    Figures figures;
  } const cases[] = {
      {"mixed", "a\r\n\r\nbcd\r\n", {3, 1, 2, 3, 1}},
      {"empty file", "", {0, 0, 0, 0, 0}},
      {"only empty lines", "\n\n", {2, 2, 0, 0, 0}},
      {"CR breaks, no final break", "a\rb\r\nxy", {3, 0, 3, 2, 1}},
      {"blanks are data", " \t\n", {1, 0, 1, 2, 2}},
      {"two GBK characters", "\xD6\xD0\xCE\xC4\nab\n", {2, 0, 2, 4, 2}},
      {"a zero byte ends the text", std::string("abc\n\n\0longer line\n", 18), {2, 1, 1, 3, 3}},
      {"a zero byte ends the first line", std::string("xy\0zzzzzzz\n", 11), {1, 0, 1, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LineFiguresOf(CountLines(LineList::FromBytes(c.text))), c.figures);
  }
}

// A text of several megabytes is counted in parts: their figures must add up to those of
// the whole, and a zero byte in one part must end the count there.
TEST(FileStatistics, ALargeTextCountsAsAWhole) {
  constexpr int kRepeats = 1 << 20;  // nine bytes each: more than 8 MiB
  std::string text;
  text.reserve(kRepeats * 9 + 200);
  for (int i = 0; i < kRepeats; ++i) text += "abc\r\n\r\nx\n";
  const std::string tail(100, 'y');
  struct Case {
    const char* name;
    std::size_t zeroAt;  // npos: none
    Figures figures;
  } const cases[] = {
      {"no zero byte", std::string::npos, {3 * kRepeats + 1, kRepeats, 2 * kRepeats + 1, 100, 1}},
      {"a zero byte in the first quarter",
       9u * (kRepeats / 4),
       {3 * (kRepeats / 4), kRepeats / 4, 2 * (kRepeats / 4), 3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = text + tail;
    if (c.zeroAt != std::string::npos) bytes[c.zeroAt] = '\0';
    EXPECT_EQ(LineFiguresOf(CountLines(LineList::FromBytes(bytes))), c.figures);
  }
}

class FileStatisticsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [name, text] : {std::pair{"a.txt", std::string("a\r\n\r\nbcd\r\n")},
                                     {"b.txt", std::string("xy\0zzzzzzz\n", 11)}}) {
      temp_.Write(name, text);
      files_.AppendFileRow({name, temp_.Path(), "0", "", "", ".txt"});
    }
  }
  void Run(int row) {
    host_.boxes.clear();
    shown_.reset();
    RunFileStatistics(files_, row, host_, [this](const FileStatistics& s) { shown_ = s; });
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
  std::optional<FileStatistics> shown_;
};

TEST_F(FileStatisticsRun, ShowsTheFiguresOfTheCurrentRow) {
  files_.SetMark(1, true);
  Run(1);
  ASSERT_TRUE(shown_);
  EXPECT_EQ(LineFiguresOf(*shown_), (Figures{3, 1, 2, 3, 1}));
  EXPECT_EQ(shown_->size, 10);
  EXPECT_EQ(shown_->average, 5);
  EXPECT_EQ(shown_->fullPath, temp_.Path("a.txt"));
  EXPECT_EQ(host_.boxes, Texts{"[info] 成功统计完成!"});
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
  EXPECT_EQ(temp_.Read("a.txt"), "a\r\n\r\nbcd\r\n");

  // Other marks play no part; a zero byte ends the lines but not the size.
  files_.SetMark(2, true);
  Run(2);
  ASSERT_TRUE(shown_);
  EXPECT_EQ(LineFiguresOf(*shown_), (Figures{1, 0, 1, 2, 2}));
  EXPECT_EQ(shown_->size, 11);
  EXPECT_EQ(shown_->average, 11);
  EXPECT_EQ(shown_->fullPath, temp_.Path("b.txt"));
}

TEST_F(FileStatisticsRun, AnEmptyFileHasNoAverage) {
  temp_.Write("a.txt", "");
  files_.SetMark(1, true);
  Run(1);
  ASSERT_TRUE(shown_);
  EXPECT_EQ(LineFiguresOf(*shown_), (Figures{0, 0, 0, 0, 0}));
  EXPECT_EQ(shown_->size, 0);
  EXPECT_EQ(shown_->average, 0);
}

TEST_F(FileStatisticsRun, ARowThatIsNotAMarkedFileIsRefused) {
  files_.SetMark(1, true);
  files_.SetMark(0, true);  // marks may stand on the header and past the last row
  files_.SetMark(3, true);
  for (const int row : {2, 0, 3}) {
    SCOPED_TRACE(row);
    host_.commandEnabled.clear();
    Run(row);
    EXPECT_FALSE(shown_);
    EXPECT_EQ(host_.boxes, Texts{"[error] 请选择需要进行统计的文件！"});
    EXPECT_TRUE(host_.commandEnabled.empty());
  }
}

TEST_F(FileStatisticsRun, AMissingFileShowsNothing) {
  std::filesystem::remove(temp_.Path("b.txt"));
  files_.SetMark(2, true);
  try {
    Run(2);
    ADD_FAILURE() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + temp_.Path("b.txt"));
  }
  EXPECT_FALSE(shown_);
  EXPECT_TRUE(host_.boxes.empty());
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace content
