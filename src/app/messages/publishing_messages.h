#pragma once
// The texts the user reads about a publication's problems, shared by the
// desktop program and trevanto-cli.
#include <string>

#include "publish/publish_problem.h"

namespace trevanto {

std::string PublishingMessage(const PublishProblem& problem);

}  // namespace trevanto
