#include "publish/page_output.h"

#include "common/atomic_file.h"

#include "publish/publisher.h"

namespace trevanto {

bool WritePage(Publisher& publisher, const std::string& pagePath, std::string_view text) {
    if (publisher.IsArchive())
        return publisher.Archive().AddPagePart(pagePath, text);
    // Beside the old page first: a failure leaves it as it was.
    return WriteFileAtomically(pagePath, text);
}

}  // namespace trevanto
