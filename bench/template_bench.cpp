// EvalTemplate on typical items: a simple count, a nested replacement, and the line
// breaking of a 200-byte line with Chinese text in it. Items per second is the figure.

#include <benchmark/benchmark.h>

#include <string>

#include "template/clock.h"
#include "template/number_expression.h"
#include "template/template_evaluator.h"

namespace {

const tmpl::FixedClock kClock({2024, 3, 5, 7, 8, 9, 45});

void Evaluate(benchmark::State& state, const std::string& source, const std::string& item) {
  for (auto _ : state) benchmark::DoNotOptimize(tmpl::EvalTemplate(source, item, kClock));
  state.SetItemsProcessed(state.iterations());
}

void BM_GetLeft(benchmark::State& state) { Evaluate(state, "report_2024_final", "${GetLeft(6)}"); }

void BM_NestedRepStr(benchmark::State& state) {
  Evaluate(state, "report_2024_final", "${RepStr(${GetMid(7,4)},${Len(abcd)})}");
}

void BM_NewLine200(benchmark::State& state) {
  std::string line;
  while (line.size() < 200) line += "abc \xD6\xD0\xCE\xC4 12345, ";  // 中文
  line.resize(200);
  Evaluate(state, line, "${NewLine(30)}");
}

void BM_DateName(benchmark::State& state) { Evaluate(state, "x", "${Date(yyyy-mmm-dd dddd)}"); }

void BM_EvalNumber(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(tmpl::EvalNumber("(7-1)/2+3*4"));
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_GetLeft);
BENCHMARK(BM_NestedRepStr);
BENCHMARK(BM_NewLine200);
BENCHMARK(BM_DateName);
BENCHMARK(BM_EvalNumber);
BENCHMARK_MAIN();
