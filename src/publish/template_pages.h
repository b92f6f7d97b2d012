#pragma once
// Pages from an HTML template: each $(BEGINSHOT)...$(ENDSHOT) block takes the
// next shot, the template is repeated until every shot is placed, and
// $(IF,"...")...$(ENDIF) statements show or hide their text.
#include <cstdint>
#include <vector>

#include "publish/publish_problem.h"

namespace trevanto {

class Publisher;

// The largest page template read: it is held in memory with its pages.
inline constexpr int64_t kMaxTemplateBytes = int64_t{4} << 20;

// Needs the run's shots and first page path. Problems are appended to
// problems. False when the template is missing, unreadable, too large or has
// no shot block.
bool GenerateTemplatePages(Publisher& publisher, std::vector<PublishProblem>& problems);

}  // namespace trevanto
