#pragma once

#include "config/relayconfig.h"

// A map from its bits, input 1 the lowest, as the device reports it.
inline std::array<bool, InputCount> inputMap(quint16 bits)
{
    std::array<bool, InputCount> map{};
    for (size_t input = 0; input < size_t(InputCount); ++input)
        map[input] = bits & (1 << input);
    return map;
}
