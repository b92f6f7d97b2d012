#pragma once
// The built-in layout: pages of a centred table of shot images with captions,
// cut by a size budget and linked by "Next".
#include <cstdint>

namespace trevanto {

class Publisher;

// The shots per table row the layout uses: at least 1, and never more than
// the shots there are (a row needs no more cells than that) unless within the
// default four, so that any value the user types makes a table of bounded
// size while small publications keep their usual rows.
int32_t BoundedShotsPerRow(int32_t shotsPerRow, int32_t shotCount);

// Needs the run's shots and first page path. False when the page names could
// not be told apart (every page then went to the one path).
bool GenerateBuiltInPages(Publisher& publisher);

}  // namespace trevanto
