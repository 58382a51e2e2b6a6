#pragma once

#include <cstddef>
#include <cstdint>

// The one entry every target defines: libFuzzer calls it with its inputs,
// and the corpus replay calls it with every file of the corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

// Stops the run with the reason when an input breaks a rule the code keeps,
// so that libFuzzer saves it and the replay fails on it.
[[noreturn]] void fuzzFailed(const char *why);
