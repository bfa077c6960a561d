// Club editor speed on big stores: saving an edited row with a new badge, and one
// step of the record navigator with its record display.
#include "app/Inicial.h"
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "platform/DataControls.h"
#include "registry/Clubes.h"
#include "store/Module.h"
#include "store/StoreError.h"
#include "tests/support/EditorRig.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

// A badge of about 200 KB: a noisy JPEG compresses poorly.
QString makeBigBadge(const QString& dir) {
    QDir().mkpath(dir);
    QImage image(520, 520, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    const QString path = dir + QStringLiteral("/modelo.jpg");
    image.save(path, "JPG", 85);
    return path;
}

void BM_EditorSave(benchmark::State& state) {
    // Saving replaces the badge: the editor works on a copy of the shared catalogue.
    test::EditorRig on(bench::cachedStore(int(state.range(0))), test::TestStore::Copy::Folder);
    TFrmClubes& editor = on.open();
    Table& clubs = on.clubs();
    const QString sources = on.fx.dataDir() + QStringLiteral("/BenchFontes");
    const QString model = makeBigBadge(sources);
    state.counters["badge_KB"] = double(QFileInfo(model).size()) / 1024.0;

    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        const QString source = sources + QStringLiteral("/novo%1.jpg").arg(round);
        QFile::copy(model, source);
        editor.Alterar1Click();
        // A new short name, so the save scans every stored one.
        editor.EdtNomeClube->setText(QStringLiteral("Bench %1").arg(round));
        on.fx.dialogs.queuePicture(source);
        editor.BtnFotoClick();
        on.fx.dialogs.clearLog();
        state.ResumeTiming();

        editor.BtnGravarClick();

        state.PauseTiming();
        if (clubs.state() != Table::State::Browse || !on.fx.dialogs.shown().isEmpty()) {
            state.SkipWithError("the save did not go through");
            break;
        }
        state.ResumeTiming();
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_EditorSave);

// Where a save's time goes: its statements (trigger bodies inside them) and the
// commit, each from its first step to its end, timed by us since the engine's own
// profile counts whole milliseconds; the rest is the program's, and whatever the
// engine does after a commit (a checkpoint). The thread's CPU time beside the wall
// time tells a slow save from one that waited for the processor or the disk.
class SavePhases final {
public:
    explicit SavePhases(QSqlDatabase& db) : handle_(engineHandle(db)) {
        sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE, &SavePhases::traced,
                         this);
        clock_.start();
    }
    ~SavePhases() { sqlite3_trace_v2(handle_, 0, nullptr, nullptr); }
    SavePhases(const SavePhases&) = delete;
    SavePhases& operator=(const SavePhases&) = delete;

    struct Times {
        double total = 0, cpu = 0, statements = 0, commit = 0;
        double rest() const { return total - statements - commit; }
    };
    void start() {
        now_ = {};
        startedAt_ = clock_.nsecsElapsed();
        cpuAt_ = threadCpuNs();
    }
    static qint64 threadCpuNs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    }
    const Times& stop() {
        now_.total = double(clock_.nsecsElapsed() - startedAt_) / 1e6;
        now_.cpu = double(threadCpuNs() - cpuAt_) / 1e6;
        return now_;
    }

private:
    static int traced(unsigned event, void* self, void* statement, void*) {
        auto& phases = *static_cast<SavePhases*>(self);
        const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
        if (event == SQLITE_TRACE_STMT) {
            if (sql != nullptr && qstrncmp(sql, "--", 2) != 0)
                phases.statementAt_ = phases.clock_.nsecsElapsed();
            return 0;
        }
        const double ms = double(phases.clock_.nsecsElapsed() - phases.statementAt_) / 1e6;
        const bool commit = sql != nullptr && qstrnicmp(sql, "COMMIT", 6) == 0;
        (commit ? phases.now_.commit : phases.now_.statements) += ms;
        return 0;
    }
    sqlite3* handle_;
    QElapsedTimer clock_;
    qint64 startedAt_ = 0, cpuAt_ = 0, statementAt_ = 0;
    Times now_;
};

// The disk alone: the worst of `times` one-page writes, each synced as a commit syncs the
// log, in `dir`. What no save can beat, since every save waits for one such sync.
double worstSyncMs(const QString& dir, int times) {
    QFile file(dir + QStringLiteral("/sync-probe"));
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    const QByteArray page(4096, 'v');
    double worst = 0;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        file.write(page);
        file.flush();
        fdatasync(file.handle());
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    file.close();
    file.remove();
    return worst;
}

// The worst of a thousand saves of a new short name: index upkeep that comes now and
// then must not show up as one slow save among many quick ones. The worst save's
// phases are reported beside the slowest of each phase over all saves.
void BM_SaveWorstOfThousand(benchmark::State& state) {
    test::EditorRig on(bench::cachedStore(int(state.range(0))), test::TestStore::Copy::Store);
    TFrmClubes& editor = on.open();
    Table& clubs = on.clubs();
    SavePhases phases(on.app().dm().database().handle());
    constexpr int saves = 1000;
    for (auto _ : state) {
        std::vector<double> ms;
        ms.reserve(saves);
        SavePhases::Times worst;
        double slowestCpu = 0, slowestStatements = 0, slowestCommit = 0, slowestRest = 0;
        double idle = 0, idleCpu = 0;
        for (int round = 1; round <= saves; ++round) {
            editor.Alterar1Click();
            editor.EdtNomeClube->setText(QStringLiteral("Bench %1").arg(round));
            on.fx.dialogs.clearLog();
            phases.start();
            editor.BtnGravarClick();
            const SavePhases::Times& t = phases.stop();
            ms.push_back(t.total);
            if (t.total > worst.total)
                worst = t;
            slowestCpu = std::max(slowestCpu, t.cpu);
            slowestStatements = std::max(slowestStatements, t.statements);
            slowestCommit = std::max(slowestCommit, t.commit);
            slowestRest = std::max(slowestRest, t.rest());
            if (clubs.state() != Table::State::Browse || !on.fx.dialogs.shown().isEmpty()) {
                state.SkipWithError("the save did not go through");
                return;
            }
            // The user's pause before the next save: the program's idle work runs, each
            // piece timed, since it holds the window just as a save does.
            while (on.app().dm().searchUpkeep.pending()) {
                QThread::msleep(5);
                QElapsedTimer timer;
                timer.start();
                const qint64 cpu = SavePhases::threadCpuNs();
                QCoreApplication::processEvents();
                idle = std::max(idle, double(timer.nsecsElapsed()) / 1e6);
                idleCpu = std::max(idleCpu, double(SavePhases::threadCpuNs() - cpu) / 1e6);
            }
        }
        std::sort(ms.begin(), ms.end());
        state.SetIterationTime(ms.back() / 1000.0);
        state.counters["median_ms"] = ms[saves / 2];
        state.counters["p99_ms"] = ms[saves * 99 / 100];
        state.counters["worst_ms"] = ms.back();
        state.counters["worst_cpu_ms"] = worst.cpu;
        state.counters["slowest_cpu_ms"] = slowestCpu;
        state.counters["worst_statements_ms"] = worst.statements;
        state.counters["worst_commit_ms"] = worst.commit;
        state.counters["worst_rest_ms"] = worst.rest();
        state.counters["slowest_statements_ms"] = slowestStatements;
        state.counters["slowest_commit_ms"] = slowestCommit;
        state.counters["slowest_rest_ms"] = slowestRest;
        state.counters["disk_worst_sync_ms"] = worstSyncMs(on.fx.dataDir(), saves);
        state.counters["worst_idle_step_ms"] = idle;
        state.counters["slowest_idle_step_cpu_ms"] = idleCpu;
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_SaveWorstOfThousand, benchmark::kMillisecond, 1, 1, true);

void BM_NavigatorNext(benchmark::State& state) {
    test::EditorRig on(bench::cachedStore(int(state.range(0))), test::TestStore::Copy::None);
    TFrmClubes& editor = on.open();
    DbNavigator& navigator = *editor.Navegador;
    // Every picture the first rows use is decoded once before timing.
    for (int i = 0; i < 200; ++i)
        navigator.press(DbNavigator::Button::Next);
    navigator.press(DbNavigator::Button::First);
    on.fx.dialogs.clearLog();

    for (auto _ : state) {
        if (!navigator.button(DbNavigator::Button::Next)->isEnabled()) {
            state.PauseTiming();
            navigator.press(DbNavigator::Button::First);
            state.ResumeTiming();
        }
        navigator.press(DbNavigator::Button::Next);
    }
    // Clubs of a country without a flag row report their empty flag path.
    state.counters["picture_errors"] = double(on.fx.dialogs.shown().size());
}
VELMORA_CATALOGUE_BENCHMARK(BM_NavigatorNext, benchmark::kMicrosecond);

} // namespace
