#include "template/sequence_item.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace tmpl {
namespace {

TEST(ReadSequenceItem, TakesTheFirstItemAndReadsItsArguments) {
  struct Case {
    const char* text;
    const char* item;  // or the error text; nullptr: no item
    std::int64_t start, width;
  } const cases[] = {
      {"a${sn(1,3)}b${sn(5,2)}", "${sn(1,3)}", 1, 3},
      {"x${SN( 10 , 2 )}y", "${SN( 10 , 2 )}", 10, 2},  // found in any letter case, kept
      {"${sn( -2 , +4 )}x", "${sn( -2 , +4 )}", -2, 4},
      {"${sn(2147483647,0)}", "${sn(2147483647,0)}", 2147483647, 0},
      {"${delleft(1)}", nullptr, 0, 0},
      // The arguments end two characters before the item's end, whatever those are.
      {"${sn(12,34]}", "${sn(12,34]}", 12, 34},
      {"${sn(1,3}", "'' is not a valid integer value", 0, 0},
      {"${sn(", "'' is not a valid integer value", 0, 0},
      {"${sn(1)}", "'' is not a valid integer value", 0, 0},
      {"${sn(,3)}", "'' is not a valid integer value", 0, 0},
      {"${sn(x,3)}", "'x' is not a valid integer value", 0, 0},
      {"${sn(x,y)}", "'x' is not a valid integer value", 0, 0},  // the start is read first
      {"${sn(1,2,3)}", "'2,3' is not a valid integer value", 0, 0},
      {"${sn(2147483648,1)}", "'2147483648' is not a valid integer value", 0, 0},
      {"${sn(1,\xA3\xB3)}", "'３' is not a valid integer value", 0, 0},  // a full-width digit
      // 0x81 0x7D is one character, not a "}": the item runs on to the real "}".
      {"${sn(1,2\x81\x7D)}x", "'2\xE4\xBA\x87' is not a valid integer value", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      const std::optional<SequenceItem> sequence = ReadSequenceItem(c.text);
      ASSERT_EQ(sequence.has_value(), c.item != nullptr);
      if (!sequence) continue;
      EXPECT_EQ(sequence->text, c.item);
      EXPECT_EQ(sequence->start, c.start);
      EXPECT_EQ(sequence->width, c.width);
    } catch (const platform::CommandError& error) {
      EXPECT_EQ(error.what(), std::string(c.item));
    }
  }
}

}  // namespace
}  // namespace tmpl
