#pragma once

#include <QList>
#include <random>

namespace velmora {

// The system date, a clock-seeded random source and a sleep, each replaceable.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int currentYear() const;
};

class Random {
public:
    virtual ~Random() = default;
    virtual void seedFromClock();
    // Uniform in [0, n); n > 0.
    virtual int below(int n);

private:
    std::mt19937 gen_{std::random_device{}()};
};

class Sleep {
public:
    virtual ~Sleep() = default;
    virtual void sleepMs(int ms);
};

} // namespace velmora
