#include "template/number_expression.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

namespace tmpl {
namespace {

constexpr int kOpenRank = 11;
constexpr int kCloseRank = 12;
// Ranks from here up belong to parentheses, which stop every reduction.
constexpr int kParenthesisRank = 10;

int Rank(char c) {
  switch (c) {
    case '(':
      return kOpenRank;
    case ')':
      return kCloseRank;
    case '*':
    case '/':
      return 2;
    case '+':
    case '-':
      return 1;
    default:
      return 0;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Counts the digits from `pos` on and moves `pos` past them.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos - start;
}

bool IsSign(char c) { return c == '+' || c == '-'; }

// The scan and its two stacks.
class Evaluator {
 public:
  explicit Evaluator(std::string_view text) : text_(text) {}

  double Run() {
    const std::size_t length = text_.size();
    for (std::size_t i = 0; i < length; ++i) {
      const char ch = text_[i];
      const int rank = Rank(ch);
      if (rank == 0) {
        if (i + 1 == length) PushToken(tokenStart_, length);
      } else if (i == 0) {
        // A leading sign belongs to the first number.
        if (!IsSign(ch)) {
          operators_.push_back(ch);
          tokenStart_ = 1;
        }
      } else if (!IsSignAfterOperator(i)) {
        OperatorStep(i, ch, rank);
      }
    }
    Finish();
    return operands_.empty() ? 0.0 : operands_.back();
  }

 private:
  // "+" or "-" right after an operator other than ")" (or after "(") is the sign of
  // the next number and stays in its token.
  bool IsSignAfterOperator(std::size_t i) const {
    const char previous = text_[i - 1];
    return IsSign(text_[i]) && Rank(previous) > 0 && previous != ')';
  }

  void PushToken(std::size_t begin, std::size_t end) {
    double value = 0;
    if (ReadDecimal(text_.substr(begin, end - begin), value)) operands_.push_back(value);
  }

  void ReduceTop() {
    const double y = operands_.back();
    operands_.pop_back();
    const double x = operands_.back();
    operands_.pop_back();
    const char op = operators_.back();
    operators_.pop_back();
    operands_.push_back(ApplyOp(x, op, y));
  }

  void OperatorStep(std::size_t i, char ch, int rank) {
    if (tokenStart_ < i) PushToken(tokenStart_, i);
    tokenStart_ = i + 1;
    if (operators_.empty()) {
      operators_.push_back(ch);
      return;
    }
    while (!operators_.empty() && operands_.size() > 1) {
      const int top = Rank(operators_.back());
      if (top < rank && ch != ')') break;
      if (top >= kParenthesisRank) break;
      ReduceTop();
    }
    if (!operators_.empty() && operators_.back() == '(' && ch == ')') {
      operators_.pop_back();
    } else {
      operators_.push_back(ch);
    }
  }

  void Finish() {
    while (operands_.size() > 1 && !operators_.empty() &&
           Rank(operators_.back()) < kParenthesisRank)
      ReduceTop();
  }

  std::string_view text_;
  std::size_t tokenStart_ = 0;
  std::vector<double> operands_;
  std::vector<char> operators_;
};

bool NeedsCleanUp(std::string_view text) {
  return text.find_first_of(" ,") != std::string_view::npos;
}

bool HasOperator(std::string_view text) {
  for (char c : text)
    if (Rank(c) != 0) return true;
  return false;
}

}  // namespace

double ApplyOp(double x, char op, double y) {
  switch (op) {
    case '*':
      return x * y;
    case '+':
      return x + y;
    case '-':
      return x - y;
    case '/':
      return y >= 0.000001 ? x / y : 0.0;
    default:
      return 0.0;
  }
}

bool ReadDecimal(std::string_view token, double& value) {
  std::size_t pos = 0;
  if (pos < token.size() && IsSign(token[pos])) ++pos;
  std::size_t digits = SkipDigits(token, pos);
  if (pos < token.size() && token[pos] == '.') {
    ++pos;
    digits += SkipDigits(token, pos);
  }
  if (digits == 0) return false;
  if (pos < token.size() && (token[pos] == 'e' || token[pos] == 'E')) {
    ++pos;
    if (pos < token.size() && IsSign(token[pos])) ++pos;
    if (SkipDigits(token, pos) == 0) return false;
  }
  if (pos != token.size()) return false;
  // from_chars takes no "+"; the syntax is checked above, so it reads the whole rest.
  const std::size_t from = token[0] == '+' ? 1 : 0;
  double parsed = 0;
  const auto [end, error] =
      std::from_chars(token.data() + from, token.data() + token.size(), parsed);
  if (error != std::errc() || end != token.data() + token.size()) return false;
  value = parsed;
  return true;
}

double EvalNumber(std::string_view text) {
  // A plain number, the common case, needs neither the clean-up nor the stacks.
  if (!NeedsCleanUp(text) && !HasOperator(text)) {
    double value = 0;
    return ReadDecimal(text, value) ? value : 0.0;
  }
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char c : text)
    if (c != ' ' && c != ',') cleaned += c;
  return Evaluator(cleaned).Run();
}

std::int64_t NumericArgument(std::string_view text) {
  const double value = std::trunc(EvalNumber(text));
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; every double below it converts without overflow.
  constexpr double kLimit = 9223372036854775808.0;
  if (value >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (value < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

}  // namespace tmpl
