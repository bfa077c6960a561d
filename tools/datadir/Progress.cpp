#include "tools/datadir/Progress.h"

#include "tools/datadir/DataDir.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace velmora::datadir {

namespace {

std::atomic<bool> stopAsked_{false};

extern "C" void askStop(int) {
    stopAsked_ = true;
}

} // namespace

bool stopAsked() {
    return stopAsked_;
}

void stopIfAsked() {
    if (stopAsked_)
        throw DataDirError(Exit::Failed, QStringLiteral("Interrompido: o que o comando já tinha "
                                                        "gravado foi removido."));
}

TerminalProgress::TerminalProgress(bool terminal) : terminal_(terminal) {
    stopAsked_ = false;
    struct sigaction ask {};
    ask.sa_handler = askStop;
    sigemptyset(&ask.sa_mask);
    ask.sa_flags = SA_RESETHAND; // the second Ctrl+C finds the default: the tool ends
    sigaction(SIGINT, &ask, &previousInterrupt_);
    sigaction(SIGTERM, &ask, &previousTerminate_);
}

TerminalProgress::~TerminalProgress() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
    stopAsked_ = false; // heard by this command only
    if (terminal_ && !shown_.isEmpty()) {
        // The report that follows starts on a clean line.
        const QByteArray clear =
            (QLatin1Char('\r') + QString(shown_.size(), QLatin1Char(' ')) + QLatin1Char('\r'))
                .toLocal8Bit();
        std::fwrite(clear.constData(), 1, std::size_t(clear.size()), stderr);
        std::fflush(stderr);
    }
}

QString TerminalProgress::line(const QString& doing, int percent) {
    QString text = doing + QStringLiteral("…");
    if (percent >= 0)
        text += QStringLiteral(" %1%").arg(percent);
    const qsizetype pad = std::max<qsizetype>(0, shown_.size() - text.size());
    shown_ = text;
    return QLatin1Char('\r') + text + QString(pad, QLatin1Char(' '));
}

bool TerminalProgress::operator()(const QString& doing, int percent) {
    if (terminal_) {
        const QByteArray bytes = line(doing, percent).toLocal8Bit();
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
        std::fflush(stderr);
    }
    return !stopAsked_;
}

} // namespace velmora::datadir
