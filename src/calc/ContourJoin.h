// Contour lines joined end to end: traced pieces of one level that meet become one line.
#pragma once
#include "calc/ContourSet.h"

namespace calc {

// The set with each level's lines joined where the end of one is the start or the end of another (the
// tracing leaves a level's line in pieces at the cells it crossed twice). The levels stay as they are.
ContourSet joinedContours(const ContourSet& set);

} // namespace calc
