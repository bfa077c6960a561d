#include "tests/support/AppFixture.h"

#include "platform/Fonts.h"

namespace velmora::test {

AppFixture::AppFixture() {
    installFontSubstitutes();
}

AppFixture::~AppFixture() = default;

Environment AppFixture::environment() {
    Environment env;
    env.dataDir = dir_.path();
    env.dialogs = &dialogs;
    env.printing = &printing;
    env.clock = &clock;
    env.random = &random;
    env.sleep = &sleep;
    env.splashMs = 0;
    return env;
}

VelmoraApp& AppFixture::start() {
    app_ = std::make_unique<VelmoraApp>(environment());
    return *app_;
}

} // namespace velmora::test
