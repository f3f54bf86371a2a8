#include "fileops/change_extension.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using platform::testing::RecordingHost;
using platform::testing::TempFolder;
using Texts = std::vector<std::string>;

TEST(ExtensionTemplate, IsTrimmedLowerCasedAndDotted) {
  struct Case {
    const char* typed;
    const char* expected;
  } const cases[] = {
      {"bak", ".bak"},
      {" TXT\t", ".txt"},
      {".${EXT}", ".${ext}"},
      {"${Ext}.BAK", ".${ext}.bak"},
      {"", ""},
      {"  ", ""},
      {"${ext}", ""},
      {" ${EXT} ", ""},
      {"${DelLeft(1)}", ".${delleft(1)}"},
      {"\xA3\xC1", ".\xA3\xE1"},  // a full-width letter folds like a Latin one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(ExtensionTemplate(c.typed), c.expected);
  }
}

TEST(ExtensionTemplate, NewExtensionKeepsTheOldExtensionsCase) {
  struct Case {
    const char* name;
    const char* typed;
    const char* newName;
  } const cases[] = {
      {"a.txt", "bak", "a.bak"},
      {"a.doc", "TXT", "a.txt"},
      {"a.TXT", "${ext}.bak", "a.TXT.bak"},
      {"b.doc", "${EXT}.bak", "b.doc.bak"},
      {"a.txt", ".${ext}", "a.txt"},
      {"README", "new", "README.new"},
      {"README", "x${ext}y", "README.xy"},
      {"archive.tar.gz", "x", "archive.tar.x"},
      {"a.txt", "${ext}${ext}", "a.txttxt"},
      {"a.txt", "${DelLeft(1)}", "a.${delleft(1)}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.typed);
    const std::string extension = NewExtensionFor(c.name, ExtensionTemplate(c.typed));
    EXPECT_EQ(std::string(fileset::BaseNameOf(c.name)) + extension, c.newName);
  }
}

class ChangeExtensionRun : public ::testing::Test {
 protected:
  // Lists the given names of the temp folder, all marked.
  void List(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      temp_.Write(name, name);
      files_.AppendFileRow({platform::Utf8ToEngine(name), temp_.Path(), "1", "", "",
                            std::string(fileset::ExtensionOf(platform::Utf8ToEngine(name)))});
      files_.SetMark(files_.RowCount() - 1, true);
    }
  }
  Texts Column(int column) const {
    Texts cells;
    for (int row = 1; row < files_.RowCount(); ++row)
      cells.push_back(platform::EngineToUtf8(files_.Cell(row, column)));
    return cells;
  }
  void Run(const char* typed) {
    RunChangeExtension(files_, {platform::Utf8ToEngine(typed)}, host_);
  }

  TempFolder temp_;
  fileset::FileList files_;
  RecordingHost host_;
};

TEST_F(ChangeExtensionRun, RenamesMarkedFilesAndUpdatesTheirRows) {
  List({"a.txt", "b.doc", "README", "跳过.txt"});
  files_.SetMark(4, false);
  host_.WriteCounter(platform::Counter::Change, 9);
  Run("${ext}.Bak");
  // Without an old extension ${ext} is empty: the dot of the template stays.
  EXPECT_EQ(Column(fileset::kNameColumn),
            (Texts{"a.txt.bak", "b.doc.bak", "README..bak", "跳过.txt"}));
  EXPECT_EQ(Column(fileset::kTypeColumn), (Texts{".txt.bak", ".doc.bak", "..bak", ".txt"}));
  EXPECT_EQ(temp_.Read("a.txt.bak"), "a.txt");
  EXPECT_EQ(temp_.Read("README..bak"), "README");
  EXPECT_TRUE(temp_.Exists("跳过.txt"));
  EXPECT_FALSE(temp_.Exists("a.txt"));
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：3"}));
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));
}

TEST_F(ChangeExtensionRun, NeverReplacesAnExistingFile) {
  List({"a.txt", "a.bak", "c.txt"});
  files_.SetMark(2, false);
  Run("bak");
  EXPECT_EQ(temp_.Read("a.txt"), "a.txt");
  EXPECT_EQ(temp_.Read("a.bak"), "a.bak");
  EXPECT_EQ(temp_.Read("c.bak"), "c.txt");
  EXPECT_EQ(Column(fileset::kNameColumn), (Texts{"a.txt", "a.bak", "c.bak"}));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 1);
}

TEST_F(ChangeExtensionRun, UnchangedNamesAndSeparatorsAreNotRenamed) {
  List({"a.txt", "b.txt"});
  Run(".${ext}");
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：0"}));
  Run("x/y");  // a new name may never move a file to another folder
  EXPECT_EQ(Column(fileset::kNameColumn), (Texts{"a.txt", "b.txt"}));
  EXPECT_TRUE(temp_.Exists("a.txt"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 0);
}

TEST_F(ChangeExtensionRun, EmptyTemplateIsRefusedBeforeAnythingIsTouched) {
  List({"a.txt"});
  host_.WriteCounter(platform::Counter::Change, 5);
  for (const char* typed : {"", " \t", "${EXT}"}) Run(typed);
  EXPECT_EQ(host_.boxes, (Texts(3, "[error] 请输入新扩展名格式！")));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 5);
  EXPECT_TRUE(host_.commandEnabled.empty());
  EXPECT_TRUE(temp_.Exists("a.txt"));
}

TEST_F(ChangeExtensionRun, AFileThatVanishedIsSkipped) {
  List({"gone.txt", "here.txt"});
  std::remove(temp_.Path("gone.txt").c_str());
  Run("log");
  EXPECT_EQ(Column(fileset::kNameColumn), (Texts{"gone.txt", "here.log"}));
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理文件总数量：1"}));
}

}  // namespace
}  // namespace fileops
