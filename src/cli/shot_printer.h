#pragma once
// The shots on standard output: one line per shot, tab-separated number,
// start frame, end frame and caption.
#include <ostream>

#include "shots/shot_list.h"

namespace trevanto::cli {

void PrintShots(const ShotList& shots, std::ostream& out);

}  // namespace trevanto::cli
