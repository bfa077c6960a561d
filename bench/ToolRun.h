#pragma once

#include <QStringList>

namespace velmora::bench {

struct ChildRun {
    int exit = -1;
    double seconds = 0;
    double peakMB = 0; // the child's own peak resident memory
};

// Runs velmora-datadir as a process of its own (its output thrown away), reading its
// peak memory while it runs.
ChildRun runTool(const QStringList& args);

} // namespace velmora::bench
