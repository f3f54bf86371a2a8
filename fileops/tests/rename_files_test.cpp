#include "fileops/rename_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using platform::Utf8ToEngine;
using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

TEST(FillRenameVariables, ReplacesInOrderIgnoringCase) {
  const fileset::FileRow row = {"Report.Final.txt",    Utf8ToEngine("/home/li/照片"), "1",
                                "2024-01-02 03:04:05", "2023-12-31 23:59:59",         ".txt"};
  const tmpl::SequenceItem sequence{"${sn(1,3)}", 1, 3};
  struct Case {
    const char* typed;
    fileset::FileRow row;
    const char* expected;
  } const cases[] = {
      {"${filename}_x", row, "Report.Final_x"},  // the values keep their case
      {"${CreateDate}|${modifydate}|${LASTDIR}", row, "2024-01-02|2023-12-31|照片"},
      {"${sn(1,3)}-${sn(1,3)}-${sn(2,3)}", row, "007-007-${sn(2,3)}"},
      // A value that holds a later variable gets it replaced too.
      {"${filename}_",
       {"x${ModifyDate}.txt", "/a", "", "", "2023-12-31 23:59:59", ""},
       "x2023-12-31_"},
      {"[${lastdir}][${createdate}]", {"a", "", "", "2024", "", ""}, "[][2024]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(
        platform::EngineToUtf8(FillRenameVariables(NameTemplate(c.typed), c.row, &sequence, "007")),
        c.expected);
  }
}

class RenameRun : public ::testing::Test {
 protected:
  // One marked row for each new file of the folder "files"; the file holds its name.
  void List(const Texts& names) {
    std::filesystem::remove_all(temp_.Path("files"));
    files_.Reset();
    host_.boxes.clear();
    for (const std::string& name : names) {
      temp_.Write("files/" + name, name);
      files_.AppendFileRow({Utf8ToEngine(name), Utf8ToEngine(temp_.Path("files")), "1",
                            "2024-01-02 03:04:05", "2023-12-31 23:59:59", ""});
      files_.SetMark(files_.RowCount() - 1, true);
    }
  }
  // Runs the template and checks the name cells, that each file under its cell's name
  // still holds its old name and nothing else is in the folder, and the count.
  void RunAndCheck(const std::string& typed, const Texts& originals, const Texts& names,
                   int count) {
    RunRename(files_, {Utf8ToEngine(typed), Utf8ToEngine(temp_.Path("prog"))}, host_);
    Texts cells;
    for (int row = 1; row < files_.RowCount(); ++row)
      cells.push_back(platform::EngineToUtf8(files_.Cell(row, fileset::kNameColumn)));
    EXPECT_EQ(cells, names);
    for (std::size_t i = 0; i < names.size(); ++i)
      EXPECT_EQ(temp_.Read("files/" + names[i]), originals[i]) << names[i];
    const auto entries = std::filesystem::directory_iterator(temp_.Path("files"));
    EXPECT_EQ(std::distance(begin(entries), end(entries)), std::ssize(names));
    EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：" + std::to_string(count)}));
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(RenameRun, RenamesFromTheTemplate) {
  struct Case {
    const char* typed;
    Texts files;
    Texts names;
    int count;
  } const cases[] = {
      {"${DelLeft(2)}", {"abcdef.txt"}, {"cdef.txt"}, 1},
      {"${DelStr(ABC)}", {"xxABCyy.txt"}, {"xxABCyy.txt"}, 0},    // the keyword is lower-cased
      {"${RepStr(ABC,x)}", {"xxABCyy.txt"}, {"xxxyy.txt"}, 1},    // a replacement ignores case
      {"${sn(1,1)}", {"1.txt", "x.txt"}, {"1.txt", "2.txt"}, 1},  // numbered though unchanged
      {"${filename}-${sn(1,2)}", {"arc.tar.gz", "README"}, {"arc.tar-01.gz", "README-02"}, 2},
      {"${sn(1,1)}_${sn(5,5)}", {"x.txt"}, {"x.txt"}, 0},  // a second sn is no function
      {"${filename}/x", {"a.txt"}, {"a.txt"}, 0},          // never into another folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    List(c.files);
    RunAndCheck(c.typed, c.files, c.names, c.count);
  }
}

TEST_F(RenameRun, ABadRunningNumberEndsTheRunBeforeAnyFileWithTheCounterAtZero) {
  struct Case {
    const char* typed;
    const char* error;
  } const cases[] = {
      {"${filename}_${sn(x,3)}", "'x' is not a valid integer value"},
      // 0x81 0x7D is one character: the item runs on to the real "}", as in an insert.
      {"${sn(1,2\x81\x7D)}", "'2\xE4\xBA\x87' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    List({"a.txt"});
    host_.WriteCounter(platform::Counter::Change, 5);
    try {
      RunRename(files_, {c.typed, Utf8ToEngine(temp_.Path("prog"))}, host_);
      ADD_FAILURE() << "no error";
    } catch (const platform::CommandError& error) {
      EXPECT_EQ(std::string(error.what()), c.error);
    }
    EXPECT_EQ(temp_.Read("files/a.txt"), "a.txt");
    EXPECT_EQ(host_.Count(platform::Counter::Change), 0);
    EXPECT_TRUE(host_.boxes.empty());
  }
}

TEST_F(RenameRun, ListFilesFollowTheGridRows) {
  struct Case {
    const char* list;   // the bytes of lists/Names.txt
    const char* typed;  // $LIST: the list file's path
    Texts names;
    int count;
  } const cases[] = {
      {"one\ntwo\nthree", "x_${file($LIST)}_${sn(1,2)}", {"one.txt", "two.txt", "three.txt"}, 3},
      {"${delleft(1)}\nB\nc", "${file($LIST)}", {".txt", "B.txt", "c.txt"}, 2},
      {nullptr, "${file($LIST)}", {"a.txt", "b.txt", "c.txt"}, 0},  // a missing list: no line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    std::filesystem::remove_all(temp_.Path("lists"));
    if (c.list != nullptr) temp_.Write("lists/Names.txt", c.list);
    List({"a.txt", "b.txt", "c.txt"});
    std::string typed = c.typed;
    typed.replace(typed.find("$LIST"), 5, temp_.Path("lists/Names.txt"));
    RunAndCheck(typed, {"a.txt", "b.txt", "c.txt"}, c.names, c.count);
  }
}

}  // namespace
}  // namespace fileops
