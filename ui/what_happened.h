#pragma once
// The sentence a screen reader speaks for a change of the table, found by comparing
// its description before and after: a lift, a drop, cards that stayed where they
// were, the automatic play to the foundations, a new deal and a cleared table. The
// focus moving needs no sentence: the focused place speaks its own name.
#include <string>

#include "table_description.h"

namespace karvelo {

// Empty when nothing worth saying happened.
std::string WhatHappened(const TableDescription& before, const TableDescription& after);

}  // namespace karvelo
