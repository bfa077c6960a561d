#pragma once

#include "app/VelmoraApp.h"

#include <functional>
#include <memory>

namespace velmora {

// The start-up sequence: splash shown and painted, title set, every window and
// the data module created, the rest of the splash time slept (it runs from the splash
// shown), the splash gone, then the main window shown. A data-module failure is shown while the
// splash is still up and start() returns null; the main window is never shown then.
class Startup final {
public:
    // Optional observer of the sequence's steps ("folder in use", "splash shown", "windows
    // created", "splash gone", "main shown", "error shown"), for tests.
    using Observer = std::function<void(const QString& step)>;

    static std::unique_ptr<VelmoraApp> start(const Environment& env, const Observer& observe = {});
};

} // namespace velmora
