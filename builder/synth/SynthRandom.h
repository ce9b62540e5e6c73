#pragma once
// The random source of synthetic generation: values 0 to 32767, as the classic C library's
// rand() gives them, from a linear congruential sequence. A fixed seed gives the same scenery
// every time; the programs seed it from the clock unless told otherwise.

#include <cstdint>

class SynthRandom {
public:
    static constexpr int kMax = 32767;

    explicit SynthRandom(std::uint32_t seed) : state_(seed) {}

    /// Seeded from the current time, for a different scenery at every run.
    static SynthRandom fromTime();

    /// The next value, 0 to kMax.
    int next()
    {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_;
};
