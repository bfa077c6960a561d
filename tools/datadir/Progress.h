#pragma once

#include <QString>
#include <functional>

#include <csignal>

namespace velmora::datadir {

// What long work is doing and how far it got (a percentage, or -1 when it cannot tell);
// returning false asks it to stop, leaving everything as it was.
using Progress = std::function<bool(const QString& doing, int percent)>;

// Long work seen from a terminal: "Copiando os distintivos… 42%" rewritten in place on
// standard error while it is a terminal (nothing when it is a file or a pipe), and
// Ctrl+C or a termination request turned into a stop at the work's next step, so the
// work undoes itself instead of dying half-done. A second Ctrl+C ends the tool at once.
// The signal handlers are the ones before it again once it goes.
// Whether Ctrl+C or a termination request came while a TerminalProgress was there.
bool stopAsked();
// Throws the tool's "interrupted" error (DataDirError) when a stop was asked: called
// before each file by the commands that make files, whose undo then removes them.
void stopIfAsked();

class TerminalProgress final {
public:
    explicit TerminalProgress(bool terminal);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool operator()(const QString& doing, int percent);
    // The text the terminal shows for a step ("\r" and the step, padded over the last).
    QString line(const QString& doing, int percent);

private:
    bool terminal_;
    QString shown_;
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
};

} // namespace velmora::datadir
