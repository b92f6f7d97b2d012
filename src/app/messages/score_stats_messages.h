#pragma once
// The wording of a statistics file that cannot be read back, shared by the
// desktop program and trevanto-cli.
#include <string>

#include "export/score_stats.h"

namespace trevanto {

// "line N: reason", or the reason alone where no one line is at fault.
std::string ScoreStatsMessage(const ScoreStatsError& error);

}  // namespace trevanto
