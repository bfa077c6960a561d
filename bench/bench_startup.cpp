// Start-up of the real program under Xvfb: from starting the executable to its main
// window mapped, less the splash's wait (what the user waits beyond it). An X client
// of our own watches the screen's top-level windows: the first mapped is the splash,
// the next one mapped after the splash is gone is the main window.
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <optional>
#include <poll.h>
#include <xcb/xcb.h>

using namespace velmora;

namespace {

// How long the splash stays up before the main window shows (the program's own).
constexpr double splashWaitMs = 5000;
constexpr int patienceMs = 30000;

// An Xvfb of its own on the first free display number from 90, and a connection to it.
class Screen {
public:
    Screen() {
        for (int n = 90; n < 140 && connection_ == nullptr; ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                continue;
            name_ = QStringLiteral(":%1").arg(n);
            server_.start(QStringLiteral("Xvfb"),
                          {name_, QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
            if (!server_.waitForStarted())
                return;
            connectWithin(5000);
        }
    }
    ~Screen() {
        if (connection_ != nullptr)
            xcb_disconnect(connection_);
        server_.terminate();
        server_.waitForFinished();
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool ready() const { return connection_ != nullptr; }
    const QString& name() const { return name_; }

    // Top-level windows mapped, unmapped or destroyed from now on.
    void watchTopLevels() {
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        sync();
    }

    struct Event {
        int type; // XCB_MAP_NOTIFY, XCB_UNMAP_NOTIFY or XCB_DESTROY_NOTIFY
        xcb_window_t window;
    };
    // The next such event, or nothing when none comes within `ms`.
    std::optional<Event> next(int ms) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
                std::optional<Event> found = eventOf(e);
                free(e);
                if (found)
                    return found;
            }
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&fd, 1, int(ms - waited.elapsed()));
        }
        return std::nullopt;
    }

private:
    void connectWithin(int ms) {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < ms && server_.state() == QProcess::Running) {
            xcb_connection_t* c = xcb_connect(name_.toLocal8Bit().constData(), nullptr);
            if (!xcb_connection_has_error(c)) {
                connection_ = c;
                return;
            }
            xcb_disconnect(c);
            QThread::msleep(20);
        }
        server_.terminate();
        server_.waitForFinished();
    }

    void sync() {
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    static std::optional<Event> eventOf(const xcb_generic_event_t* e) {
        switch (e->response_type & ~0x80) {
        case XCB_MAP_NOTIFY:
            return Event{XCB_MAP_NOTIFY,
                         reinterpret_cast<const xcb_map_notify_event_t*>(e)->window};
        case XCB_UNMAP_NOTIFY:
            return Event{XCB_UNMAP_NOTIFY,
                         reinterpret_cast<const xcb_unmap_notify_event_t*>(e)->window};
        case XCB_DESTROY_NOTIFY:
            return Event{XCB_DESTROY_NOTIFY,
                         reinterpret_cast<const xcb_destroy_notify_event_t*>(e)->window};
        default:
            return std::nullopt;
        }
    }

    QProcess server_;
    QString name_;
    xcb_connection_t* connection_ = nullptr;
};

// A session bus of its own, as every desktop session has: without one, the program's
// accessibility bridge tries to start a bus on its way to showing the first window.
// VELMORA_BENCH_NO_SESSION_BUS leaves it out, to see what that costs.
class SessionBus {
public:
    SessionBus() {
        if (qEnvironmentVariableIsSet("VELMORA_BENCH_NO_SESSION_BUS"))
            return;
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
        if (daemon_.waitForStarted() && daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~SessionBus() {
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // Empty when no bus could be started: the program then runs without one.
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

QString programPath() {
    const QString given = qEnvironmentVariable("VELMORA_PROGRAM");
    if (!given.isEmpty())
        return given;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../velmora"));
}

// CPU time, in ms, every thread of a process has had so far: the scheduler's own account,
// in nanoseconds, unlike the ticks of /proc/<pid>/stat. What the machine's other work
// cannot inflate, where the wall time waits for a processor.
double cpuMs(qint64 pid) {
    double ms = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (stat.open(QIODevice::ReadOnly))
            ms += stat.readAll().split(' ').value(0).toDouble() / 1e6;
    }
    return ms;
}

// Times, in ms from starting the executable, of the splash mapped, the splash gone
// and the main window mapped, and the program's CPU time when the splash and the main
// window were mapped; nothing when the program does not get that far.
struct Run {
    double splashShown = 0, splashGone = 0, mainShown = 0;
    double cpuToSplash = 0, cpuToMain = 0;
};

std::optional<Run> startOnce(Screen& screen, const SessionBus& bus, const QString& home) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!bus.address().isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("DISPLAY"), screen.name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    program.start(programPath(), {});
    Run run;
    std::optional<xcb_window_t> splash;
    std::optional<Run> result;
    while (const std::optional<Screen::Event> e = screen.next(patienceMs)) {
        const double at = double(clock.nsecsElapsed()) / 1e6;
        if (!splash && e->type == XCB_MAP_NOTIFY) {
            splash = e->window;
            run.splashShown = at;
            run.cpuToSplash = cpuMs(program.processId());
        } else if (splash && e->window == *splash && e->type != XCB_MAP_NOTIFY) {
            if (run.splashGone == 0)
                run.splashGone = at;
        } else if (run.splashGone > 0 && e->type == XCB_MAP_NOTIFY) {
            run.mainShown = at;
            run.cpuToMain = cpuMs(program.processId());
            result = run;
            break;
        }
    }
    program.terminate();
    if (!program.waitForFinished(5000))
        program.kill();
    program.waitForFinished();
    // What the program left on the screen goes with it.
    while (screen.next(100)) {
    }
    return result;
}

void BM_StartupRealProgram(benchmark::State& state) {
    const QString store = bench::cachedStore(int(state.range(0)));
    Screen screen;
    if (!screen.ready()) {
        state.SkipWithError("no Xvfb to run the program on");
        return;
    }
    screen.watchTopLevels();
    const SessionBus bus;
    state.counters["session_bus"] = bus.address().isEmpty() ? 0 : 1;
    QTemporaryDir home;
    QFile::link(store, home.filePath(QStringLiteral("Velmora")));
    double toSplash = 0, underSplash = 0, toMain = 0, cpuToSplash = 0, cpuToMain = 0;
    for (auto _ : state) {
        const std::optional<Run> run = startOnce(screen, bus, home.path());
        if (!run) {
            state.SkipWithError("the main window never showed");
            return;
        }
        state.SetIterationTime((run->mainShown - splashWaitMs) / 1000.0);
        toSplash += run->splashShown;
        underSplash += run->splashGone - run->splashShown - splashWaitMs;
        toMain += run->mainShown - run->splashGone;
        cpuToSplash += run->cpuToSplash;
        cpuToMain += run->cpuToMain;
    }
    // Where the time goes: before the splash shows, while it shows (beyond its wait),
    // and from its end to the main window.
    const auto average = [](double total) {
        return benchmark::Counter(total, benchmark::Counter::kAvgIterations);
    };
    state.counters["to_splash_ms"] = average(toSplash);
    state.counters["under_splash_ms"] = average(underSplash);
    state.counters["to_main_ms"] = average(toMain);
    state.counters["cpu_to_splash_ms"] = average(cpuToSplash);
    state.counters["cpu_to_main_ms"] = average(cpuToMain);
}
// Each start costs the splash's five seconds: a few, timed by the watcher.
VELMORA_CATALOGUE_BENCHMARK(BM_StartupRealProgram, benchmark::kMillisecond, 3, 2, true);

} // namespace
