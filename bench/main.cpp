// velmora-bench: every benchmark in one program, run headless. Catalogue benchmarks
// run at each size of --velmora_sizes (or VELMORA_BENCH_SIZES).
// --velmora_make_store=DIR:CLUBS only writes a generated data directory;
// --velmora_memory_journey=DIR is the child process of BM_PeakMemory.
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "platform/Fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    velmora::bench::takeSizesOption(argc, argv);
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
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    velmora::bench::registerCatalogueBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
