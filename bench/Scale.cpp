#include "bench/Scale.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstring>
#include <vector>

namespace velmora::bench {

namespace {

struct Entry {
    const char* name;
    BenchmarkFn fn;
    benchmark::TimeUnit unit;
    int repetitions;
    int iterations;
    bool manualTime;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}

QByteArray& sizesText() {
    static QByteArray text = qgetenv("VELMORA_BENCH_SIZES");
    return text;
}

} // namespace

QList<int> catalogueSizes() {
    QList<int> sizes;
    for (const QString& part : QString::fromLatin1(sizesText()).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (ok && n > 0)
            sizes << n;
    }
    return sizes.isEmpty() ? QList<int>{1000, 100000, 1000000} : sizes;
}

void takeSizesOption(int& argc, char** argv) {
    static const char option[] = "--velmora_sizes=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, sizeof option - 1) == 0)
            sizesText() = QByteArray(argv[i] + sizeof option - 1);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
}

int addCatalogueBenchmark(const char* name, BenchmarkFn fn, benchmark::TimeUnit unit,
                          int repetitions, int iterations, bool manualTime) {
    entries().push_back({name, fn, unit, repetitions, iterations, manualTime});
    return int(entries().size());
}

void registerCatalogueBenchmarks() {
    const QList<int> sizes = catalogueSizes();
    for (const Entry& e : entries()) {
        benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(e.name, e.fn);
        for (int size : sizes)
            b->Arg(size);
        b->Unit(e.unit)->Repetitions(e.repetitions)->DisplayAggregatesOnly(true);
        if (e.iterations > 0)
            b->Iterations(e.iterations);
        if (e.manualTime)
            b->UseManualTime();
    }
}

} // namespace velmora::bench
