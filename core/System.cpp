#include "core/System.h"

#include <QDate>
#include <QThread>
#include <chrono>

namespace velmora {

int Clock::currentYear() const {
    return QDate::currentDate().year();
}

void Random::seedFromClock() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<std::uint32_t>(ticks),
                       static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) >> 32)};
    gen_.seed(seed);
}

int Random::below(int n) {
    if (n <= 0)
        return 0; // nothing to draw from
    return std::uniform_int_distribution<int>(0, n - 1)(gen_);
}

void Sleep::sleepMs(int ms) {
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

} // namespace velmora
