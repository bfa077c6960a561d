#include "tests/support/AppFixture.h"

namespace velmora::test {

AppFixture::~AppFixture() = default;

Environment AppFixture::environment() {
    Environment env;
    env.dataDir = dataDir();
    env.dialogs = &dialogs;
    env.printing = &printer();
    env.clock = &clock;
    env.random = &random;
    env.sleep = &sleep;
    env.splashMs = 0;
    return env;
}

VelmoraApp& AppFixture::start() {
    return start(environment());
}

VelmoraApp& AppFixture::start(const Environment& env) {
    app_.reset(); // one program on a data directory at a time
    app_ = std::make_unique<VelmoraApp>(env);
    return *app_;
}

} // namespace velmora::test
