#include "content/keyword_merge.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/tests/marked_files.h"
#include "platform/testing/recording_host.h"

namespace content {
namespace {

using Texts = std::vector<std::string>;

struct Merged {
  Texts lines;
  std::int64_t records;
};

Merged Merge(std::string_view source, std::string_view target) {
  const LineList sourceLines = LineList::FromBytes(source);
  const LineList targetLines = LineList::FromBytes(target);
  CollectedLines out;
  const std::int64_t records = MergeKeywords(sourceLines, targetLines, out);
  return {out.lines, records};
}

TEST(KeywordMerge, SplitsAtTheFirstEqualsSign) {
  struct Case {
    const char* line;
    const char* key;
    const char* value;
  } const cases[] = {
      {"a=1", "a", "1"}, {"a =1 ", "a ", "1 "}, {"a=b=c", "a", "b=c"},
      {"=x", "", "x"},   {"plain", "", ""},     {"k=", "k", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const KeyValue pair = SplitKeyValue(c.line);
    EXPECT_EQ(pair.key, c.key);
    EXPECT_EQ(pair.value, c.value);
  }
}

TEST(KeywordMerge, CarriesValuesIntoTheTargetsKeys) {
  struct Case {
    const char* name;
    const char* source;
    const char* target;
    Texts merged;
    std::int64_t records;
  } const cases[] = {
      {"a value replaced, a key not added",
       "name=Tom\nage=3\n",
       "Name=Bob\ncity=X\n",
       {"name=Tom", "city=X"},
       1},
      {"blanks belong to the key", "a =1\n", "a=0\na =0\n", {"a=0", "a =1"}, 1},
      {"lines without a key are left alone",
       "=v\nnone\nk=1\n",
       "=w\nnone\nk=0\n",
       {"=w", "none", "k=1"},
       1},
      {"the first source value serves later lines, in their own case",
       "Key=one\nKEY=two\n",
       "key=0\nkey=9\n",
       {"KEY=one", "key=9"},
       2},
      {"an empty value deletes one target line per source line",
       "k=\nk=\nk=\n",
       "k=1\nx=2\nK=3\nk=4\n",
       {"x=2"},
       3},
      {"more source lines than target lines of the key", "k=\nk=\nk=\n", "k=1\nk=2\n", {}, 2},
      {"the later source value plays no part", "k=\nk=new\n", "k=1\nk=2\n", {}, 2},
      {"no common key", "a=1\n", "b=2\n", {"b=2"}, 0},
      // Full-width Latin folds: "Ａ" and "ａ" are one key.
      {"a double-byte letter folds", "\xA3\xC1=1\n", "\xA3\xE1=0\n", {"\xA3\xC1=1"}, 1},
      // The trail bytes "A" and "a" make two different characters.
      {"a trail byte is no letter", "\x81\x41=1\n", "\x81\x61=0\n", {"\x81\x61=0"}, 0},
      {"a trail byte compares as it is", "\x81\x41=1\n", "\x81\x41=0\n", {"\x81\x41=1"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Merged merged = Merge(c.source, c.target);
    EXPECT_EQ(merged.lines, c.merged);
    EXPECT_EQ(merged.records, c.records);
  }
}

// Enough target keys that their folded forms fill more than one of the folder's blocks:
// each must still be found.
TEST(KeywordMerge, ManyTargetKeysThatFoldDifferently) {
  std::string source, target;
  Texts merged;
  for (int i = 0; i < 400; ++i) {
    const std::string number = std::to_string(i);
    target += std::string(5000, 'K') + number + "=t\n";
    const std::string line = std::string(5000, 'k') + number + "=s" + number;
    source += line + "\n";
    merged.push_back(line);
  }
  const Merged result = Merge(source, target);
  EXPECT_EQ(result.records, 400);
  EXPECT_EQ(result.lines, merged);
}

using KeywordMergeRun = testing::MarkedFilesRun;

TEST_F(KeywordMergeRun, FewerThanTwoMarkedIsRefused) {
  files_.SetMark(2, false);
  ExpectRefused([&] { return RunKeywordMerge(files_, {}, host_); },
                "[error] 请选择需要按关键字进行合并的两个文件！", nullptr, "");
}

TEST_F(KeywordMergeRun, WritesOnlyTheTargetWithCrLf) {
  temp_.Write("a.txt", "name=Tom\r\nage=3");
  temp_.Write("b.txt", "Name=Bob\ncity=X");
  temp_.Write("c.txt", "name=third");
  files_.AppendFileRow({"c.txt", temp_.Path(), "0", "", "", ".txt"});
  files_.SetMark(3, true);  // a third mark is ignored
  RunKeywordMerge(files_, {}, host_);
  EXPECT_EQ(temp_.Read("b.txt"), "name=Tom\r\ncity=X\r\n");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "Name=Bob\ncity=X");
  EXPECT_EQ(temp_.Read("a.txt"), "name=Tom\r\nage=3");
  EXPECT_EQ(temp_.Read("c.txt"), "name=third");
  EXPECT_FALSE(temp_.Exists("a.txt.bak"));
  EXPECT_EQ(host_.Count(platform::Counter::Change), 7);
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 1 条记录!"}));
  EXPECT_EQ(host_.commandEnabled, (std::vector<bool>{false, true}));

  temp_.Write("b.txt", "name=old\n");
  KeywordMergeSettings noBackup;
  noBackup.backup = false;
  RunKeywordMerge(files_, noBackup, host_);
  EXPECT_EQ(temp_.Read("b.txt"), "name=Tom\r\n");
  EXPECT_EQ(temp_.Read("b.txt.bak"), "Name=Bob\ncity=X");
}

TEST_F(KeywordMergeRun, ASourceThatIsMissingOrNoTextWritesNothing) {
  temp_.Write("a.txt", std::string("1=x\n\0", 5));
  RunKeywordMerge(files_, {}, host_);
  EXPECT_EQ(host_.boxes, (Texts{"[info] 成功处理完成,共处理 0 条记录!\n"
                                "1 个文件含有零字节，不是文本，未处理"}));
  EXPECT_EQ(temp_.Read("b.txt"), testing::kThreeLines);
  EXPECT_FALSE(temp_.Exists("b.txt.bak"));

  std::filesystem::remove(temp_.Path("a.txt"));
  host_.boxes.clear();
  try {
    RunKeywordMerge(files_, {}, host_);
    ADD_FAILURE() << "no error";
  } catch (const platform::CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + temp_.Path("a.txt"));
  }
  EXPECT_EQ(temp_.Read("b.txt"), testing::kThreeLines);
  EXPECT_FALSE(temp_.Exists("b.txt.bak"));
  EXPECT_TRUE(host_.boxes.empty());
}

}  // namespace
}  // namespace content
