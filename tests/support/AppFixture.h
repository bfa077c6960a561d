#pragma once

#include "app/VelmoraApp.h"
#include "tests/support/TestServices.h"

#include <memory>

namespace velmora::test {

// A whole application on the test services: seed `store` before start(), read it
// back after; the splash does not wait.
class AppFixture : public TestServices {
public:
    using TestServices::TestServices;
    ~AppFixture();

    // What start() hands the application; a test may change it and pass it to start().
    Environment environment();

    // Builds the application object (every window and the data module).
    VelmoraApp& start();
    VelmoraApp& start(const Environment& env);
    VelmoraApp& app() { return *app_; }
    bool started() const { return app_ != nullptr; }
    void stop() { app_.reset(); }

private:
    std::unique_ptr<VelmoraApp> app_; // the windows go before the services they use
};

} // namespace velmora::test
