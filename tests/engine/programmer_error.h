#pragma once
// A fault in the program itself (an index it computed out of range, a tag it wrote
// that does not parse) stops a build with checks at once and is survived by a release
// build: EXPECT_PROGRAMMER_ERROR expects whichever of the two this build does.
#include <gtest/gtest.h>

#include "check.h"

#if KARVELO_CHECKS_ON
#define EXPECT_PROGRAMMER_ERROR(statement) EXPECT_DEATH(statement, "programmer error")
#else
#define EXPECT_PROGRAMMER_ERROR(statement) \
    do {                                   \
        statement;                         \
    } while (false)
#endif
