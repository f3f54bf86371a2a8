#include "convert/contact_cards.h"

#include <gtest/gtest.h>

#include "platform/testing/temp_folder.h"

namespace convert {
namespace {

std::string Convert(std::string_view cards, std::string_view extension) {
  platform::testing::TempFolder temp;
  temp.Write("c.vcf", cards);
  ConvertContactCards(platform::NativePath(temp.Path("c.vcf")),
                      platform::NativePath(temp.Path("c.out")), extension);
  return temp.Read("c.out");
}

constexpr std::string_view kCsvHeader = "Name,Cell,Tel,Email,Org,Address\r\n";

TEST(ContactCards, EachCardBecomesOneLine) {
  struct Case {
    const char* name;
    const char* cards;
    const char* rows;  // after the header
  } const cases[] = {
      {"fields in their columns",
       "BEGIN:VCARD\nN:Li;Lei;;;\nTEL;CELL:123\nEMAIL;INTERNET:mail1\nEND:VCARD\n",
       "LiLei,123,,mail1,,\r\n"},
      {"the first name line and the first number win",
       "FN:Wang\nN:Wang;Xiao;;;\nTEL;CELL:1\nTEL;CELL:2\nTEL;WORK;VOICE:9\nEND:\n",
       "Wang,1,9,,,\r\n"},
      {"no name line, an address, a card without END: is lost",
       "ADR;HOME:;;Road 1;City;;100000;\nORG:Co\nEND:VCARD\nN:Lost\n",
       ",,,,Co,Road 1City100000\r\n"},
      {"properties count only in their own letter case and exact start",
       "n:Li\nN;CHARSET=UTF-8:Zhang\nFN:Real\nEND:VCARD\n", "Real,,,,,\r\n"},
      {"a folded line continues the one before",
       "N:Very;Long\n  Name;;;\nNOTE:x\n\tmore\nEND:VCARD\n", "VeryLong Name,,,,,\r\n"},
      {"commas and quotes are quoted, values kept byte for byte",
       "N:\xd6\xd0\nORG:A, \"B\"\nEND:VCARD\n", "\xd6\xd0,,,,\"A, \"\"B\"\"\",\r\n"},
      {"three cards", "N:a\nEND:\nN:b\nEND:\nN:c\nEND:\n", "a,,,,,\r\nb,,,,,\r\nc,,,,,\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Convert(c.cards, "csv"), std::string(kCsvHeader) + c.rows);
  }
}

TEST(ContactCards, TabSeparatedLayoutQuotesNothing) {
  EXPECT_EQ(Convert("N:Li;Lei\nORG:A,B\nEND:VCARD\n", "txt"),
            "Name\tCell\tTel\tEmail\tOrg\tAddress\r\nLiLei\t\t\t\tA,B\t\r\n");
  EXPECT_TRUE(IsCardTableExtension("txt"));
  EXPECT_FALSE(IsCardTableExtension("xls"));
}

}  // namespace
}  // namespace convert
