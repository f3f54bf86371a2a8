#include "fileops/name_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/code_page.h"
#include "platform/testing/temp_folder.h"

namespace fileops {
namespace {

using Texts = std::vector<std::string>;

TEST(SplitLines, BreaksAtEveryKindOfLineEnd) {
  struct Case {
    std::string bytes;
    Texts lines;
  } const cases[] = {
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r\rc", {"a", "b", "", "c"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {std::string("a\nb\0c\nd", 7), {"a", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(SplitLines(c.bytes), c.lines);
  }
}

TEST(ReplaceByListLine, SplitsAtTheFirstSeparatorOfTheFirstKindFound) {
  struct Case {
    const char* base;
    const char* line;
    const char* expected;
  } const cases[] = {
      {"OLD_Old_old", "old;x", "x_x_x"},  // letter case ignored
      {"a b", "a b;z", "z"},              // ";" is looked for before the space
      {"Tab", "tab\tnew;x", "new;x"},     // TAB before ";"
      {"one", "one:two x", "two x"},      // ":" before the space
      {"keep", "nothing-to-split", "keep"},
      {"name", "zzz;new", "name"},
      {"name", ";new", "name"},  // an empty old part changes nothing
      {"a-b", " a ; X ", "X-b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " | " + c.line);
    EXPECT_EQ(ReplaceByListLine(c.base, c.line), c.expected);
  }
}

TEST(LoadNameList, LooksAsGivenThenBesideTheProgram) {
  platform::testing::TempFolder temp;
  temp.Write("prog/Names.txt", "p1\r\np2\r\n");
  temp.Write("data/Names.txt", "d1\nd2");
  temp.Write("data/\xE4\xBA\x87.txt", "a;b\n");  // 0x81 0x7D in engine text: no "}"
  temp.MakeFolder("data/folder.txt");
  // A pipe would make the run wait for ever, a device would never end.
  ASSERT_EQ(mkfifo(temp.Path("data/pipe.txt").c_str(), 0600), 0);
  // A list far larger than any list of names: a sparse file costs no room.
  const std::string huge = temp.Write("data/huge.txt", "h\n");
  ASSERT_EQ(truncate(huge.c_str(), std::int64_t{65} << 20), 0);
  const std::string prog = platform::Utf8ToEngine(temp.Path("prog"));
  const std::string data = platform::Utf8ToEngine(temp.Path("data"));
  struct Case {
    std::string typed;
    ListMode mode;
    Texts lines;
  } const cases[] = {
      {"${FILE(" + data + "/Names.txt)}", ListMode::File, {"d1", "d2"}},
      {"${file(Names.txt)}", ListMode::File, {"p1", "p2"}},      // beside the program
      {"${file(names.txt)}", ListMode::File, {}},                // names keep their case
      {"${file(" + data + "/folder.txt)}", ListMode::File, {}},  // a folder is no list
      {"${file(" + data + "/pipe.txt)}", ListMode::File, {}},
      {"${file(/dev/zero)}", ListMode::File, {}},
      {"${file(" + data + "/huge.txt)}", ListMode::File, {}},
      {"${file2(" + data + "/\x81\x7D.txt)}${file(Names.txt)}", ListMode::File2, {"a;b"}},
      {"${file(Names.txt)}${file2(missing.txt)}", ListMode::File2, {}},
      {"${filename}_${sn(1,2)}", ListMode::None, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const NameList list = LoadNameList(c.typed, prog + "/");
    EXPECT_EQ(list.mode, c.mode);
    EXPECT_EQ(list.lines, c.lines);
  }
}

}  // namespace
}  // namespace fileops
