#pragma once
// Numeric arguments of template functions are arithmetic expressions: "2*3",
// "(7-1)/2", "1,000". They are read with two stacks in one pass over the text and
// never fail: what does not read counts as nothing, an empty result as 0.

#include <cstdint>
#include <string_view>

namespace tmpl {

// x op y for "*", "+", "-" and "/"; a divisor below 0.000001 (zero and every negative
// number) gives 0, and so does any other operator character.
double ApplyOp(double x, char op, double y);

// The value of an expression. Spaces and commas are dropped first; a token that does not
// read as a decimal number is dropped without a trace, so "x+3" gives 3. Signs follow an
// operator or "(" ("2*-3", "2--3"); operators of equal rank go left to right on real
// numbers ("7/2*2" gives 7); an unmatched parenthesis stops the reductions behind it.
double EvalNumber(std::string_view text);

// EvalNumber truncated toward zero (3.9 gives 3, -3.5 gives -3), saturated at the
// limits of the type; a result that is no number gives 0.
std::int64_t NumericArgument(std::string_view text);

// A token read as a decimal number independent of any locale: optional sign, digits with
// an optional "." fraction (at least one digit in all), optional exponent "e" or "E" with
// optional sign and digits. False for anything else, and for a value beyond the range
// of a double.
bool ReadDecimal(std::string_view token, double& value);

}  // namespace tmpl
