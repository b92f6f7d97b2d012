#include "video/content_probe.h"

#include <array>
#include <cstring>
#include <fstream>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace trevanto {

namespace {
// Enough for every container FFmpeg tells by its header, and still a single read.
constexpr size_t kProbeBytes = 64 * 1024;
// Below this score FFmpeg is guessing (a text that happens to parse).
constexpr int kSureScore = AVPROBE_SCORE_MAX / 4;
}  // namespace

std::string ProbeContainer(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    // FFmpeg reads past the data it is given by up to the padding.
    std::vector<unsigned char> bytes(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
    file.read(reinterpret_cast<char*>(bytes.data()), kProbeBytes);
    const auto read = static_cast<int>(file.gcount());
    if (read <= 0)
        return {};
    AVProbeData probe{};
    probe.filename = "";  // by content alone, never by the name
    probe.buf = bytes.data();
    probe.buf_size = read;
    int score = 0;
    const AVInputFormat* format = av_probe_input_format2(&probe, 1, &score);
    if (!format || score < kSureScore)
        return {};
    return format->name;
}

bool ContainerMayHoldVideo(const std::string& container) {
    if (container.empty())
        return false;
    // Still pictures come as "<codec>_pipe" or "image2".
    if (container.size() > 5 && container.compare(container.size() - 5, 5, "_pipe") == 0)
        return false;
    static const std::array<const char*, 16> kNoVideo = {
        "image2", "mp3", "wav", "flac", "aiff", "au",  "ape", "wv",
        "tta",    "amr", "ac3", "eac3", "dts",  "aac", "tty", "srt"};
    for (const char* name : kNoVideo) {
        if (container == name)
            return false;
    }
    return true;
}

}  // namespace trevanto
