// velmora-bench: every benchmark in one program, run headless. Catalogue benchmarks
// run at each size of --velmora_sizes (or VELMORA_BENCH_SIZES), three repetitions of at
// least --benchmark_min_time (0.25 s unless given) each.
// --velmora_make_store=DIR:CLUBS only writes a generated data directory;
// --velmora_shape=NAME (or VELMORA_BENCH_SHAPE) picks the generated catalogue's shape;
// --velmora_memory_journey=DIR is the child process of BM_PeakMemory.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "platform/Fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    velmora::bench::takeSizesOption(argc, argv);
    if (!velmora::bench::takeShapeOption(argc, argv)) {
        std::fputs("velmora-bench: --velmora_shape is mixed, shared, accented, country or state\n",
                   stderr);
        return 1;
    }
    // Badges the editor benchmarks replace go to a trash of this run's own: in the user's
    // they would pile up, and each run would trash more slowly than the one before.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    velmora::installFontSubstitutes();
    // --velmora_make_store=DIR:CLUBS writes a generated data directory and ends.
    if (argc == 2 && qstrncmp(argv[1], "--velmora_make_store=", 21) == 0) {
        const QString spec = QString::fromLocal8Bit(argv[1] + 21);
        velmora::bench::makeStore(spec.section(u':', 0, -2), spec.section(u':', -1).toInt());
        return 0;
    }
    if (argc == 2 && qstrncmp(argv[1], "--velmora_memory_journey=", 25) == 0)
        return velmora::bench::memoryJourney(QString::fromLocal8Bit(argv[1] + 25));
    // A quarter of a second per repetition unless asked otherwise: with three
    // repetitions at three catalogue sizes the whole run stays within a quarter of an hour.
    std::vector<char*> args(argv, argv + argc);
    char minTime[] = "--benchmark_min_time=0.25";
    if (std::none_of(args.begin(), args.end(),
                     [](const char* a) { return qstrncmp(a, "--benchmark_min_time", 20) == 0; }))
        args.insert(args.begin() + 1, minTime);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    velmora::bench::registerCatalogueBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
