#include "content/combine_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace content {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

constexpr const char* kBom = "\xEF\xBB\xBF";

class CombineFiles : public ::testing::Test {
 protected:
  // Lists the files, all marked; a null text lists a file that is not there.
  void List(std::initializer_list<std::pair<const char*, const char*>> files) {
    for (const auto& [name, bytes] : files) {
      if (bytes != nullptr) temp_.Write(name, bytes);
      files_.AppendFileRow({name, temp_.Path(), "0", "", "", ".txt"});
      files_.SetMark(files_.RowCount() - 1, true);
    }
    host_.WriteCounter(platform::Counter::Change, 9);
  }
  void Run(bool backup = true) {
    CombineSettings settings;
    settings.backup = backup;
    RunCombineFiles(files_, settings, host_);
  }
  std::string Closing(int files) {
    return "[info] 成功处理完成,共处理 " + std::to_string(files) + " 个文件!";
  }
  int Entries() const {
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
      ++entries;
    return entries;
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(CombineFiles, AppendsEveryMarkedFileToTheLast) {
  List({{"a.txt", "1\n2"}, {"skip.txt", "s\n"}, {"b.txt", "3\r\n"}, {"c.txt", "4\r"}});
  files_.SetMark(2, false);
  Run();
  EXPECT_EQ(temp_.Read("c.txt"), "1\r\n2\r\n3\r\n4\r\n");
  EXPECT_EQ(temp_.Read("c.txt.bak"), "4\r");
  EXPECT_EQ(temp_.Read("a.txt"), "1\n2");
  EXPECT_EQ(temp_.Read("b.txt"), "3\r\n");
  EXPECT_FALSE(temp_.Exists("a.txt.bak"));
  EXPECT_FALSE(temp_.Exists("b.txt.bak"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 3);
  EXPECT_EQ(host_.boxes, Texts{Closing(3)});
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

TEST_F(CombineFiles, RowOrderDecidesOrderAndTarget) {
  struct Case {
    const char* name;
    std::vector<int> order;
    const char* target;
    const char* combined;
    const char* backup;
  } const cases[] = {
      {"as listed", {1, 2, 3}, "c.txt", "1\r\n2\r\n3\r\n", "3"},
      {"reordered", {3, 1, 2}, "b.txt", "3\r\n1\r\n2\r\n", "2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    fileset::FileList files;
    RecordingHost host;
    for (const auto& [name, text] : {std::pair{"a.txt", "1"}, {"b.txt", "2"}, {"c.txt", "3"}}) {
      temp.Write(name, text);
      files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
      files.SetMark(files.RowCount() - 1, true);
    }
    files.Reorder(c.order);
    RunCombineFiles(files, {}, host);
    EXPECT_EQ(temp.Read(c.target), c.combined);
    EXPECT_EQ(temp.Read(std::string(c.target) + ".bak"), c.backup);
  }
}

TEST_F(CombineFiles, RepeatedRowsEmptyFilesAndOneFile) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> rows;  // the text at a file's first row
    const char* target;
    const char* combined;
  } const cases[] = {
      {"one file", {{"a.txt", "x\ny"}}, "a.txt", "x\r\ny\r\n"},
      {"a file twice",
       {{"a.txt", "x"}, {"a.txt", nullptr}, {"b.txt", "y"}},
       "b.txt",
       "x\r\nx\r\ny\r\n"},
      {"the target read earlier too",
       {{"b.txt", "y"}, {"a.txt", "x"}, {"b.txt", nullptr}},
       "b.txt",
       "y\r\nx\r\ny\r\n"},
      {"an empty file", {{"a.txt", ""}, {"b.txt", "y"}}, "b.txt", "y\r\n"},
      {"an empty target", {{"a.txt", "x"}, {"b.txt", ""}}, "b.txt", "x\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder temp;
    fileset::FileList files;
    RecordingHost host;
    for (const auto& [name, text] : c.rows) {
      if (text != nullptr) temp.Write(name, text);
      files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
      files.SetMark(files.RowCount() - 1, true);
    }
    RunCombineFiles(files, {}, host);
    EXPECT_EQ(temp.Read(c.target), c.combined);
    EXPECT_EQ(host.Count(platform::Counter::Change), static_cast<int>(c.rows.size()));
  }
}

TEST_F(CombineFiles, AFileWithAZeroByteIsPassedOver) {
  const std::string zero("z\n\0z", 4);
  temp_.Write("z.txt", zero);
  List({{"a.txt", "1"}, {"b.txt", "2"}, {"z.txt", nullptr}});
  Run();
  EXPECT_EQ(temp_.Read("b.txt"), "1\r\n2\r\n");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "2");
  EXPECT_EQ(temp_.Read("z.txt"), zero);
  EXPECT_FALSE(temp_.Exists("z.txt.bak"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 2);
  EXPECT_EQ(host_.boxes, Texts{Closing(2) + "\n1 个文件含有零字节，不是文本，未处理"});
  EXPECT_EQ(Entries(), 4);
}

TEST_F(CombineFiles, AMissingFileEndsTheRunWithNothingWritten) {
  for (const char* missing : {"b.txt", "c.txt"}) {
    SCOPED_TRACE(missing);
    TempFolder temp;
    fileset::FileList files;
    RecordingHost host;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
      if (std::string_view(name) != missing) temp.Write(name, name);
      files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
      files.SetMark(files.RowCount() - 1, true);
    }
    try {
      RunCombineFiles(files, {}, host);
      ADD_FAILURE() << "no error";
    } catch (const platform::CommandError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + temp.Path(missing));
    }
    EXPECT_EQ(temp.Read("a.txt"), "a.txt");
    if (std::string_view(missing) != "c.txt") {
      EXPECT_EQ(temp.Read("c.txt"), "c.txt");
    }
    int entries = 0;  // no ".bak" copy, no temporary sibling
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.Path()))
      ++entries;
    EXPECT_EQ(entries, 2);
    EXPECT_TRUE(host.boxes.empty());
  }
}

TEST_F(CombineFiles, OnlyTheTargetsByteOrderMarkStaysFirst) {
  struct Case {
    const char* name;
    bool inputMark, targetMark;
    std::string combined;
  } const cases[] = {
      {"both", true, true, std::string(kBom) + "a\r\nb\r\n"},
      {"the input only", true, false, "a\r\nb\r\n"},
      {"the target only", false, true, std::string(kBom) + "a\r\nb\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    temp_.Write("a.txt", std::string(c.inputMark ? kBom : "") + "a");
    temp_.Write("b.txt", std::string(c.targetMark ? kBom : "") + "b");
    files_.Reset();
    List({{"a.txt", nullptr}, {"b.txt", nullptr}});
    Run(false);
    EXPECT_EQ(temp_.Read("b.txt"), c.combined);
    EXPECT_FALSE(temp_.Exists("b.txt.bak"));
  }
}

}  // namespace
}  // namespace content
