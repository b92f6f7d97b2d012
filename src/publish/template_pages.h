#pragma once
// Pages from an HTML template: each $(BEGINSHOT)...$(ENDSHOT) block takes the
// next shot, the template is repeated until every shot is placed, and
// $(IF,"...")...$(ENDIF) statements show or hide their text.
#include <string>
#include <vector>

namespace trevanto {

class Publisher;

// Needs the run's shots and first page path. Messages for the user are
// appended to messages. False when the template is missing, unreadable or has
// no shot block.
bool GenerateTemplatePages(Publisher& publisher, std::vector<std::string>& messages);

}  // namespace trevanto
