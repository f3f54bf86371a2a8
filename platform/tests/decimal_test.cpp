#include "platform/decimal.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace platform {
namespace {

TEST(ReadInteger, TakesLeadingSpacesASignAndDigitsWithin32Bits) {
  struct Good {
    const char* text;
    std::int32_t value;
  } const good[] = {{"0", 0},
                    {"12", 12},
                    {"-3", -3},
                    {"+7", 7},
                    {"  5", 5},
                    {" -0", 0},
                    {"007", 7},
                    {"2147483647", 2147483647},
                    {"-2147483648", -2147483647 - 1}};
  for (const Good& c : good) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReadInteger(c.text), c.value);
    EXPECT_EQ(ParseInteger(c.text), c.value);
  }
  for (const char* bad : {"", " ", "-", "+", "+-1", "-+1", "--1", "5 ", "\t5", "1.5", "x", "1e3",
                          "2147483648", "-2147483649", "0x10", "$10", "99999999999999999999"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ReadInteger(bad).has_value());
    try {
      ParseInteger(bad);
      ADD_FAILURE() << "no error";
    } catch (const CommandError& error) {
      EXPECT_EQ(std::string(error.what()),
                std::string("'").append(bad).append("' is not a valid integer value"));
    }
  }
}

TEST(ZeroFilled, PadsWithSixteenZerosAtMostAndNeverCuts) {
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
      {-9223372036854775807 - 1, 1, "-9223372036854775808"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.number) + "," + std::to_string(c.width));
    EXPECT_EQ(ZeroFilled(c.number, c.width), c.expected);
    std::string appended = "x";
    AppendZeroFilled(appended, c.number, c.width);
    EXPECT_EQ(appended, std::string("x").append(c.expected));
  }
}

}  // namespace
}  // namespace platform
