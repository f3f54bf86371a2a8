// The in-memory steps of the content modes on generated lines (about 54 bytes each, a
// tenth empty or blank, half with double-byte text), without the disk: finding the
// lines of a loaded file and building the kept lines of the delete modes.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "content/delete_lines.h"
#include "content/line_list.h"

namespace {

std::string GeneratedText(std::size_t lines) {
  std::mt19937 random(424242);
  std::string text;
  for (std::size_t i = 0; i < lines; ++i) {
    const unsigned kind = random() % 10;
    if (kind == 0) {
      text += "  \t";
    } else if (kind < 5) {
      text += "2024-06-01 12:00:00\tINFO\tuser" + std::to_string(random() % 9999) +
              "\topen file id=" + std::to_string(random() % 999999);
      if (random() % 20 == 0) text += " ERROR";
    } else {
      text += std::to_string(random() % 99999) + "\t";
      for (int c = 0; c < 16; ++c) {
        text += static_cast<char>(0xB0 + random() % 0x40);
        text += static_cast<char>(0xA1 + random() % 0x5E);
      }
    }
    text += i % 10 == 0 ? "\r\n" : "\n";
  }
  return text;
}

const std::string& Text() {
  static const std::string text = GeneratedText(1'000'000);
  return text;
}

class CountingSink final : public content::LineSink {
 public:
  std::size_t bytes = 0;
  void Add(std::string_view line) override { bytes += line.size() + 2; }
};

// Finding the lines of a loaded file: one walk from the first line to the last.
void BM_WalkLines(benchmark::State& state) {
  const content::LineList lines = content::LineList::FromBytes(Text());
  for (auto _ : state) {
    std::size_t count = 0;
    for (const std::string_view line : lines) count += line.empty() ? 2 : 1;
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Text().size()));
}
BENCHMARK(BM_WalkLines)->Unit(benchmark::kMillisecond);

void BM_DeleteLines(benchmark::State& state, content::DeleteLinesSettings settings) {
  const content::LineList lines = content::LineList::FromBytes(Text());
  const content::DeleteLinesPlan plan = content::PlanDeleteLines(settings);
  for (auto _ : state) {
    CountingSink sink;
    content::DeleteLines(lines, plan, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Text().size()));
}
using By = content::DeleteLinesSettings::By;
BENCHMARK_CAPTURE(BM_DeleteLines, numbers, {By::LineNumbers, "3,5-8", "2", "1", "", false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DeleteLines, interval, {By::Interval, "1", "2", "1", "", false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DeleteLines, keywords,
                  {By::Keywords, "1", "2", "1", "ERROR;\xC3\xDC\xC2\xEB", false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DeleteLines, empty, {By::Empty, "1", "2", "1", "", false})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
