#pragma once

#include <QtGlobal>

#include <functional>

// Uniform random numbers. The vocabulary, each quiz and the statistics own one; tests give it a
// seeded source so that every draw is known.
class QLXRandom
{
public:
    // Uniform 32-bit values.
    using Source = std::function<quint32()>;

    // Draws from the system's random source.
    QLXRandom();
    explicit QLXRandom(Source source);

    // A whole number from `low` to `high`, both included. An empty range (high below low) gives
    // `low` and is logged.
    qint64 randomIntBetween(qint64 low, qint64 high);
    // A number from `low` up to, not including, `high`.
    double randomFloatBetween(double low, double high);

private:
    Source m_source;
};
