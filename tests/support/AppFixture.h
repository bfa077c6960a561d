#pragma once

#include "app/VelmoraApp.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/System.h"
#include "tests/support/store/TestStore.h"

#include <memory>

namespace velmora::test {

// A whole application on a data directory of its own, with scripted dialogs, a
// recording printer, a fixed year (2024), scripted draws and no splash sleep.
// The store comes with it: seed `store` before start(), read it back after.
class AppFixture {
public:
    // A fresh data directory in a temporary folder: the test store's reference rows, no clubs.
    AppFixture();
    // The catalogue in the folder `catalogue` (a generated one), used as `copy` says.
    AppFixture(const QString& catalogue, TestStore::Copy copy);
    ~AppFixture();
    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    QString dataDir() const { return store.dir(); }
    // What start() hands the application; a test may change it and pass it to start().
    Environment environment();

    // Builds the application object (every window and the data module).
    VelmoraApp& start();
    VelmoraApp& start(const Environment& env);
    VelmoraApp& app() { return *app_; }
    bool started() const { return app_ != nullptr; }
    void stop() { app_.reset(); }

    TestStore store;
    ScriptedDialogs dialogs;
    RecordingPrinting printing;
    FixedClock clock{2024};
    ScriptedRandom random;
    NoSleep sleep;
    // Set before start(): print on the desktop's printers (CUPS) instead of `printing`.
    bool realPrinter = false;

private:
    QtPrinting realPrinting_;
    std::unique_ptr<VelmoraApp> app_; // last: the windows go before the services they use
};

} // namespace velmora::test
