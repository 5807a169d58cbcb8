#pragma once
// The game's one random number generator. It is seeded once at start (from
// the clock, or from --seed) and never re-seeded: re-seeding from a clock with
// one-second resolution would make every draw within the same second repeat.

#include <cstdint>
#include <random>
#include <string>

class Random {
public:
    explicit Random(std::uint32_t seed = 1) : m_engine(seed) {}

    void Seed(std::uint32_t seed) { m_engine.seed(seed); }

    // Uniform integer in the inclusive range [a, b]; the bounds may come in
    // either order.
    int Int(int a, int b);

    // Uniform real in [0, 1).
    double Unit();

    // The generator's whole state as text, and back: SetState returns false
    // (and changes nothing) for text State() could not have written: words
    // beyond 32 bits, a position past the state, a state of zeros.
    std::string State() const;
    bool SetState(const std::string& text);

    // A seed taken from the clock.
    static std::uint32_t ClockSeed();

private:
    std::mt19937 m_engine;
};
