#pragma once
// The built-in layout: pages of a centred table of shot images with captions,
// cut by a size budget and linked by "Next".
#include <cstdint>

namespace trevanto {

class Publisher;

// The shots per table row the layout uses: the option held within its range
// (1 to 1,000), so that any value the user types makes rows of a bounded
// number of cells. Every row has this many cells, shots or empty ones.
int32_t BoundedShotsPerRow(int32_t shotsPerRow);

// Needs the run's shots and first page path. False when the page names could
// not be told apart (every page then went to the one path).
bool GenerateBuiltInPages(Publisher& publisher);

}  // namespace trevanto
