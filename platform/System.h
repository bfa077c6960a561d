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

class FixedClock final : public Clock {
public:
    explicit FixedClock(int year) : year_(year) {}
    int currentYear() const override { return year_; }
    void setYear(int y) { year_ = y; }

private:
    int year_;
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

// Test double: returns the queued draws (each taken modulo n), then 0.
class ScriptedRandom final : public Random {
public:
    void queue(int v) { draws_.append(v); }
    void seedFromClock() override {}
    int below(int n) override;

private:
    QList<int> draws_;
};

class Sleep {
public:
    virtual ~Sleep() = default;
    virtual void sleepMs(int ms);
};

class NoSleep final : public Sleep {
public:
    void sleepMs(int) override {}
};

} // namespace velmora
