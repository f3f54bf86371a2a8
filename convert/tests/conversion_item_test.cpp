#include "convert/conversion_item.h"

#include <gtest/gtest.h>

namespace convert {
namespace {

TEST(ConversionItem, ReadsTheFieldAsThePageDoes) {
  struct Case {
    const char* field;
    bool converts;
    const char* name;
    const char* extension;
  } const cases[] = {
      {"${XlsTo(csv)}", true, "xlsto", "csv"},
      {"${txtto( .CSV ,x,y)}", true, "txtto", " .CSV "},
      {" ${TxtTo(csv)}", true, "{txtto", "csv"},  // cut at the wrong places: no known name
      {"${TxtTo(csv)}x", true, "txtto", "csv)"},
      {"${TxtTo()}", true, "txtto", ""},
      {"${TxtTo(}", true, "txtto", ""},
      {"${TxtTo}", false, "", ""},
      {"TxtTo(csv)", false, "", ""},
      {"${", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    const ConversionItem item = ParseConversionItem(c.field);
    EXPECT_EQ(item.converts, c.converts);
    EXPECT_EQ(item.name, c.name);
    EXPECT_EQ(item.extension, c.extension);
  }
}

TEST(ConversionItem, NewPathBesideTheSource) {
  EXPECT_EQ(ExtensionOf(" .CSV\t"), "csv");
  EXPECT_EQ(ExtensionOf(" . "), "");
  EXPECT_EQ(ExtensionOf("\xA3\xC1"), "\xA3\xE1");  // a full-width letter lowers too
  struct Case {
    const char* source;
    const char* extension;
    const char* made;
  } const cases[] = {
      {"/d/list.xls", "csv", "/d/list.csv"},
      {"/d/a.b.txt", "csv", "/d/a.b.csv"},
      {"/d.x/name", "csv", "/d.x/name.csv"},  // a folder's dot is no extension
      {"/d/.hidden", "csv", "/d/.csv"},
      {"/d/\xb0\xa1.txt", "csv", "/d/\xb0\xa1.csv"},  // GBK bytes of a name stay
      {"/d/a.txt", "\xd6\xd0", "/d/a.\xe4\xb8\xad"},  // a new extension is written in UTF-8
      {"a.txt", "csv", "a.csv"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(NewPathFor(platform::NativePath(c.source), c.extension).bytes(), c.made);
  }
}

}  // namespace
}  // namespace convert
