#pragma once
// The random order of a randomized attempt. Every order can occur: each
// place is drawn uniformly from the entries not yet placed.
#include <functional>
#include <vector>

#include "testing/model/QuestionAnswer.h"

// A uniformly random number in 0 .. bound-1 (bound is at least 1).
using TRandomSource = std::function<int(int bound)>;

// A source seeded from the clock, as the player uses.
TRandomSource ClockRandomSource();

// The permutation of 1..n drawn from a pool: n times a random member of the
// pool is taken out and appended.
std::vector<int> DrawPermutation(int n, const TRandomSource& random);

// Entry i of the new order is the entry at permutation[i] - 1 of the old.
void ShuffleEntries(std::vector<QuestionAnswer>& entries, const TRandomSource& random);
