// Every input must return from EvalTemplate and EvalNumber: no hang, no crash, no
// undefined behaviour. The first byte says how much of the rest is the source text;
// the remainder is the template item. The whole input is also read as an expression.
// Texts may grow 16 MiB beyond the input here, so that a template that multiplies
// sizes reaches the limit quickly; reaching it is an orderly end.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "template/clock.h"
#include "template/number_expression.h"
#include "template/template_evaluator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view rest = input.substr(1);
  const std::size_t sourceLength = data[0] < rest.size() ? data[0] : rest.size();
  const std::string_view source = rest.substr(0, sourceLength);
  const std::string_view item = rest.substr(sourceLength);

  const tmpl::FixedClock clock({2024, 3, 5, 7, 8, 9, 45});
  try {
    const std::string result = tmpl::EvalTemplate(source, item, clock, std::size_t{16} << 20);
    (void)result;
  } catch (const platform::CommandError&) {
  }
  (void)tmpl::EvalNumber(input);
  (void)tmpl::NumericArgument(item);
  return 0;
}
