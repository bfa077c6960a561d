#pragma once

#include <QList>
#include <QString>
#include <benchmark/benchmark.h>

namespace velmora::bench {

// Catalogue sizes the catalogue benchmarks run at: --velmora_sizes=1000,100000 or
// VELMORA_BENCH_SIZES, else 1,000, 100,000 and 1,000,000 clubs.
QList<int> catalogueSizes();
// Reads and removes --velmora_sizes=... from the command line.
void takeSizesOption(int& argc, char** argv);

using BenchmarkFn = void (*)(benchmark::State&);
// Collects a benchmark that runs once per catalogue size (state.range(0) clubs);
// registerCatalogueBenchmarks() registers them once the sizes are known. `iterations`
// fixes their number (0: as many as the minimum time needs); `manualTime` times each
// iteration by SetIterationTime().
int addCatalogueBenchmark(const char* name, BenchmarkFn fn,
                          benchmark::TimeUnit unit = benchmark::kMillisecond, int repetitions = 3,
                          int iterations = 0, bool manualTime = false);
void registerCatalogueBenchmarks();

// Runs every interaction of the scale benchmarks once on the data directory `dir`
// and prints the process's peak resident memory in MB; the exit code.
int memoryJourney(const QString& dir);

} // namespace velmora::bench

#define VELMORA_CATALOGUE_BENCHMARK(fn, ...)                                                       \
    [[maybe_unused]] static const int fn##_registered =                                            \
        ::velmora::bench::addCatalogueBenchmark(#fn, fn __VA_OPT__(, ) __VA_ARGS__)
