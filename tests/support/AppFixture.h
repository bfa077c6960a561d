#pragma once

#include "app/VelmoraApp.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/System.h"

#include <QTemporaryDir>
#include <memory>

namespace velmora::test {

// A whole application on a temporary data directory, with scripted dialogs, a
// recording printer, a fixed year (2024), scripted draws and no splash sleep.
// Seed the store (TestStore on dataDir()) before start().
class AppFixture {
public:
    AppFixture();
    ~AppFixture();

    QString dataDir() const { return dir_.path(); }
    // Builds the application object (every window and the data module).
    VelmoraApp& start();
    VelmoraApp& app() { return *app_; }
    void stop() { app_.reset(); }

    ScriptedDialogs dialogs;
    RecordingPrinting printing;
    FixedClock clock{2024};
    ScriptedRandom random;
    NoSleep sleep;

    Environment environment();

private:
    QTemporaryDir dir_;
    std::unique_ptr<VelmoraApp> app_;
};

} // namespace velmora::test
