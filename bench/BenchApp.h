#pragma once

#include "bench/ClubGenerator.h"
#include "gallery/Relatorios.h"
#include "tests/support/AppFixture.h"

namespace velmora::bench {

// The program on a generated catalogue, through the tests' fixture: scripted boxes
// (none on the screen), the year the ages were generated for, and the fixture's
// scripted draws unless `random` is given.
class BenchApp : public test::AppFixture {
public:
    explicit BenchApp(const QString& catalogue, Random* random = nullptr,
                      test::TestStore::Copy copy = test::TestStore::Copy::None)
        : AppFixture(catalogue, copy), random_(random) {
        clock.setYear(generatedYear);
        start();
    }
    VelmoraApp& start() {
        Environment env = environment();
        if (random_ != nullptr)
            env.random = random_;
        return AppFixture::start(env);
    }
    TFrmRelatorios& page() { return *app().FrmRelatorios; }

private:
    Random* random_;
};

} // namespace velmora::bench
