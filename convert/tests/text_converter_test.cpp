#include "convert/text_converter.h"

#include <gtest/gtest.h>

#include "convert/format_conversion.h"
#include "platform/error.h"
#include "platform/testing/recording_host.h"
#include "platform/testing/temp_folder.h"

namespace convert {
namespace {

TEST(TextConverter, TabsBecomeCommasAndFieldsStayInTheirColumns) {
  struct Case {
    const char* line;
    const char* csv;
  } const cases[] = {
      {"x\ty", "x,y"},
      {"\t\t", ",,"},
      {"a,b\tc", "\"a,b\",c"},
      {"say \"hi\"\t1", "\"say \"\"hi\"\"\",1"},
      {"\xd6\xd0\t\xce\xc4", "\xd6\xd0,\xce\xc4"},
      {"", ""},
  };
  std::string out = "left over";
  for (const Case& c : cases) {
    TabsToCsv(c.line, out);
    EXPECT_EQ(out, c.csv) << c.line;
  }
}

TEST(TextConverter, WritesTheNewFileAndLeavesTheSource) {
  platform::testing::TempFolder temp;
  temp.Write("a.txt", "\xEF\xBB\xBFx\ty\nz");
  ConvertText(platform::NativePath(temp.Path("a.txt")), platform::NativePath(temp.Path("a.csv")),
              "csv");
  EXPECT_EQ(temp.Read("a.csv"), "\xEF\xBB\xBFx,y\r\nz\r\n");
  EXPECT_EQ(temp.Read("a.txt"), "\xEF\xBB\xBFx\ty\nz");
  // Another extension copies the lines; the new path may be the source itself.
  ConvertText(platform::NativePath(temp.Path("a.txt")), platform::NativePath(temp.Path("a.txt")),
              "dat");
  EXPECT_EQ(temp.Read("a.txt"), "\xEF\xBB\xBFx\ty\r\nz\r\n");

  temp.Write("zero.txt", std::string("a\tb\0c", 5));
  EXPECT_EQ(ConvertText(platform::NativePath(temp.Path("zero.txt")),
                        platform::NativePath(temp.Path("zero.csv")), "csv"),
            Converted::NotText);
  EXPECT_FALSE(temp.Exists("zero.csv"));
  EXPECT_THROW(ConvertText(platform::NativePath(temp.Path("missing.txt")),
                           platform::NativePath(temp.Path("missing.csv")), "csv"),
               platform::CommandError);
  EXPECT_FALSE(temp.Exists("missing.csv"));
}

// The preview of a conversion names each new file and writes none.
TEST(TextConverter, PreviewNamesTheNewFiles) {
  platform::testing::TempFolder temp;
  fileset::FileList files;
  platform::testing::RecordingHost host;
  temp.Write("a.csv", "old");
  for (const auto& [name, bytes] :
       {std::pair{"a.txt", std::string("x\ty")}, std::pair{"b.txt", std::string("1")},
        std::pair{"z.txt", std::string("\0", 1)}}) {
    temp.Write(name, bytes);
    files.AppendFileRow({name, temp.Path(), "0", "", "", ".txt"});
    files.SetMark(files.RowCount() - 1, true);
  }
  const fileset::Preview preview = PreviewFormatConversion(files, {"${TxtTo(csv)}"}, host);
  ASSERT_EQ(preview.rows.size(), 3u);
  EXPECT_EQ(preview.rows[0].after, temp.Path("a.csv"));
  EXPECT_EQ(preview.rows[0].reason, fileset::kOverwrites);
  EXPECT_EQ(preview.rows[1].status, fileset::PreviewStatus::Change);
  EXPECT_EQ(preview.rows[2].reason, fileset::kNotText);
  EXPECT_FALSE(temp.Exists("b.csv"));
  EXPECT_EQ(temp.Read("a.csv"), "old");
  EXPECT_EQ(PreviewFormatConversion(files, {"${Copy(csv)}"}, host).rows[0].status,
            fileset::PreviewStatus::Same);
  const fileset::Preview refused = PreviewFormatConversion(files, {""}, host);
  EXPECT_TRUE(refused.refused);
  EXPECT_EQ(refused.focus, "edtFileFormat");
}

}  // namespace
}  // namespace convert
