#include "fileops/rename_sequence.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace fileops {
namespace {

TEST(ZeroFill, PadsWithSixteenZerosAtMostAndNeverCuts) {
  struct Case {
    std::int64_t number, width;
    const char* expected;
  } const cases[] = {
      {1, 3, "001"},
      {123, 3, "123"},
      {1234, 3, "1234"},
      {7, 0, "7"},
      {7, -2, "7"},
      {5, 17, "00000000000000005"},
      {12, 40, "000000000000000012"},
      {-5, 3, "0-5"},  // the zeros go in front of the whole text, sign included
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.number) + "," + std::to_string(c.width));
    EXPECT_EQ(ZeroFill(c.number, c.width), c.expected);
  }
}

TEST(ReadSequenceItem, TakesTheFirstItemAndReadsItsArguments) {
  struct Case {
    const char* nameTemplate;
    const char* item;  // or the error text; nullptr: no item
    std::int64_t start, width;
  } const cases[] = {
      {"a${sn(1,3)}b${sn(5,2)}", "${sn(1,3)}", 1, 3},
      {"${sn( -2 , +4 )}x", "${sn( -2 , +4 )}", -2, 4},
      {"${sn(2147483647,0)}", "${sn(2147483647,0)}", 2147483647, 0},
      {"${delleft(1)}", nullptr, 0, 0},
      // The arguments end two characters before the item's end, whatever those are.
      {"${sn(12,34]}", "${sn(12,34]}", 12, 34},
      {"${sn(1,3}", "'' is not a valid integer value", 0, 0},
      {"${sn(1)}", "'' is not a valid integer value", 0, 0},
      {"${sn(x,3)}", "'x' is not a valid integer value", 0, 0},
      {"${sn(1,2,3)}", "'2,3' is not a valid integer value", 0, 0},
      {"${sn(2147483648,1)}", "'2147483648' is not a valid integer value", 0, 0},
      {"${sn(1,\xA3\xB3)}", "'３' is not a valid integer value", 0, 0},  // full-width digit
      // 0x81 0x7D is one character, not a "}".
      {"${sn(1,\x81\x7D)}", "'\xE4\xBA\x87' is not a valid integer value", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nameTemplate);
    try {
      const std::optional<SequenceItem> sequence = ReadSequenceItem(c.nameTemplate);
      ASSERT_EQ(sequence.has_value(), c.item != nullptr);
      if (!sequence) continue;
      EXPECT_EQ(sequence->item, c.item);
      EXPECT_EQ(sequence->start, c.start);
      EXPECT_EQ(sequence->width, c.width);
    } catch (const platform::CommandError& error) {
      EXPECT_STREQ(error.what(), c.item);
    }
  }
}

}  // namespace
}  // namespace fileops
