#pragma once

#include "platform/Printing.h"
#include "tests/support/Doubles.h"
#include "tests/support/store/TestStore.h"

namespace velmora::test {

// The platform's test doubles on a data directory of their own, the store with them:
// scripted dialogs, a recording printer, a fixed year (2024), scripted draws and no
// sleep. The whole application or one window subsystem is built on them in a test.
class TestServices {
public:
    // A fresh data directory in a temporary folder: the test store's reference rows, no clubs.
    TestServices();
    // The catalogue in the folder `catalogue` (a generated one), used as `copy` says.
    TestServices(const QString& catalogue, TestStore::Copy copy);
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    QString dataDir() const { return store.dir(); }
    // `printing`, or the desktop's printers (CUPS) when realPrinter is set.
    Printing& printer();

    TestStore store;
    ScriptedDialogs dialogs;
    RecordingPrinting printing;
    FixedClock clock{2024};
    ScriptedRandom random;
    NoSleep sleep;
    bool realPrinter = false;

private:
    QtPrinting realPrinting_;
};

} // namespace velmora::test
