#pragma once
// Stream URLs and ASX scripts for "trevanto-cli slice": the script is
// downloaded without a window, its streams are listed on stderr and the one
// --entry names is taken.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/front_ends/online_video.h"

namespace trevanto::cli {

class CliOnlineVideo : public OnlineVideoPort {
  public:
    // `entry`: the stream to take, from 1 in the script's order.
    CliOnlineVideo(std::ostream& err, int32_t entry, int32_t timeoutMs)
        : err_(err), entry_(entry), timeoutMs_(timeoutMs) {}

    ScriptFetch FetchScript(const std::string& url, const std::string& filePath,
                            bool onlyScript) override;
    std::optional<std::string> ChooseStream(const std::vector<std::string>& streams) override;
    void Trace(const std::string& text) override;
    void ReportMalformedScript(const std::string& diagnostic) override;

  private:
    std::ostream& err_;
    int32_t entry_;
    int32_t timeoutMs_;
};

// The video to open for what was named on the command line: the name itself
// for a local video, else the resolved stream.
// Nothing when it cannot be opened; the reason went to stderr.
std::optional<std::string> ResolveCliVideo(const std::string& named, CliOnlineVideo& port,
                                           UserPort& user);

}  // namespace trevanto::cli
