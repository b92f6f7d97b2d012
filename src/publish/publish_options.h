#pragma once
// Everything a web publication needs to know, as the publish wizard edits it.
#include <cstdint>
#include <string>
#include <vector>

namespace trevanto {

struct PublishOptions {
    std::string targetFile = "output1.html";
    int32_t edgeWidth = 0;
    std::string title = "Trevanto Thumbnail";
    int32_t shotsPerRow = 4;
    int32_t pageKBytes = 30;
    bool showResult = true;
    // Set only through Publisher::SetUseTemplate, which keeps templateFile
    // empty while it is off.
    bool useTemplate = false;
    std::string templateFile;
    std::vector<std::string> additionalFiles;
    std::string onlineVideoUrl;
    std::string asxScriptUrl;
    std::string shotCaption = "$(INDEX) / $(COUNT)";
    std::string shotFileName = "image$(INDEX, \"0000\").jpg";
    int32_t shotWidth = 100;
    int32_t shotHeight = 80;
    bool displayCaption = true;
    // Images written at the shot size, and the built-in page gives them no size.
    bool stretchToFit = false;
};

}  // namespace trevanto
