#pragma once
// The one owner of everything in the engine that outlives a call: the table in memory,
// the three module values, the input gate and the random source. Their start values
// are the member initialisers below and nowhere else; ResetEngine puts them back.
#include <cstdint>
#include <functional>
#include <random>

#include "funktioner.h"
#include "input_gate.h"

namespace funktioner {

struct RandomSource {
    std::mt19937 generator{std::mt19937::default_seed};
    std::function<float()> installed;  // a test's own source; empty: the generator
};

struct ModuleValues {
    BoardArray board;
    DeckArray deck;
    bool gameInProgress = false;
    bool autoPlayActive = false;
    int32_t animationSpeed = kStandardAnimationSpeed;
    InputGate gate;
    RandomSource random;
};

ModuleValues& Values();

}  // namespace funktioner
