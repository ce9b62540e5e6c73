#include "synth/SynthRandom.h"

#include <ctime>

SynthRandom SynthRandom::fromTime()
{
    return SynthRandom(static_cast<std::uint32_t>(std::time(nullptr)));
}
