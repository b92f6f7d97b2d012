#include "publish/page_output.h"

#include <fstream>

#include "publish/publisher.h"

namespace trevanto {

bool WritePage(Publisher& publisher, const std::string& pagePath, std::string_view text) {
    if (publisher.IsArchive())
        return publisher.Archive().AddPagePart(pagePath, text);
    std::ofstream file(pagePath, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(text.data(), static_cast<std::streamsize>(text.size())))
        return false;
    file.close();
    return !file.fail();
}

}  // namespace trevanto
