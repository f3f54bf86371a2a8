// Appending 500,000 rows to the file list and sorting them by each column; the resident
// memory is reported as a counter.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "fileset/file_list.h"
#include "fileset/file_sort.h"

namespace {

constexpr int kRows = 500000;

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

fileset::FileRow MakeRow(std::mt19937& random, int i) {
  static const char* const kWords[] = {"report", "data", "backup", "config", "photo", "\xD6\xD0\xCE\xC4"};
  static const char* const kExtensions[] = {".txt", ".ini", ".dat", ".csv", ".log"};
  const std::string word = kWords[random() % 6];
  const std::string extension = kExtensions[random() % 5];
  auto next = [&random](unsigned limit) { return static_cast<unsigned>(random() % limit); };
  char time[32];
  std::snprintf(time, sizeof time, "20%02u-%02u-%02u %02u:%02u:%02u", next(25), 1 + next(12),
                1 + next(28), next(24), next(60), next(60));
  return {word + "_" + std::to_string(i) + extension,
          "/home/user/archive/" + word + "/" + std::to_string(random() % 5000),
          std::to_string(random() % 100000), time, time, extension};
}

fileset::FileList MakeList() {
  std::mt19937 random(42);
  fileset::FileList files;
  for (int i = 0; i < kRows; ++i) files.AppendFileRow(MakeRow(random, i));
  return files;
}

void BM_Append(benchmark::State& state) {
  for (auto _ : state) {
    fileset::FileList files = MakeList();
    benchmark::DoNotOptimize(files.RowCount());
    state.counters["rss_MB"] = ResidentMegabytes();
  }
}
BENCHMARK(BM_Append)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Sort(benchmark::State& state) {
  const platform::Collator collator("zh_CN");
  const fileset::FileList original = MakeList();
  bool ascending = true;
  fileset::FileList files;
  for (auto _ : state) {
    state.PauseTiming();
    files = original;  // the copy, and freeing the last one, are not timed
    state.ResumeTiming();
    fileset::SortFileList(files, static_cast<int>(state.range(0)), ascending, collator);
    ascending = !ascending;
    state.counters["rss_MB"] = ResidentMegabytes();
  }
}
BENCHMARK(BM_Sort)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
