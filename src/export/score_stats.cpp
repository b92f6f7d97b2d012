#include "export/score_stats.h"

#include <charconv>
#include <cmath>

#include "common/timecode.h"

namespace trevanto {
namespace {

// The shortest text that reads back as the same float.
std::string ScoreText(float score) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, score);
    return std::string(text, result.ptr);
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != line.npos; start = comma + 1)
        fields.push_back(line.substr(start, comma - start));
    fields.push_back(line.substr(start));
    return fields;
}

template <typename Number>
bool ReadWhole(std::string_view field, Number& value) {
    const char* end = field.data() + field.size();
    const auto result = std::from_chars(field.data(), end, value);
    return !field.empty() && result.ec == std::errc() && result.ptr == end;
}

// One row; empty when it reads, else the reason.
std::string ReadRow(std::string_view line, FrameScore& score) {
    const auto fields = SplitFields(line);
    if (fields.size() != 4)
        return "expected 4 fields (" + std::string(kScoreStatsHeader) + "), found " +
               std::to_string(fields.size());
    if (!ReadWhole(fields[0], score.frame) || score.frame < 0)
        return "the frame '" + std::string(fields[0]) + "' is not a frame number";
    if (!ReadWhole(fields[2], score.change) || !std::isfinite(score.change) || score.change < 0)
        return "the score '" + std::string(fields[2]) + "' is not a number of 0 or more";
    if (fields[3] != "0" && fields[3] != "1")
        return "the cut '" + std::string(fields[3]) + "' is not 0 or 1";
    return {};
}

}  // namespace

std::string FormatScoreStats(const ChangeScores& scores, float threshold,
                             const PictureTimes& times) {
    const Recut recut = RecutScores(scores.Frames(), threshold);
    std::string text = std::string(kScoreStatsHeader) + "\n";
    for (size_t i = 0; i < scores.Frames().size(); ++i) {
        const FrameScore& score = scores.Frames()[i];
        text += std::to_string(score.frame) + "," +
                FormatTimecode(score.frame, 1, scores.SecondsPerFrame(), ':', times) + "," +
                ScoreText(score.change) + "," + (recut.cutAt[i] ? "1" : "0") + "\n";
    }
    return text;
}

std::optional<std::vector<FrameScore>> ParseScoreStats(std::string_view text, std::string& error) {
    std::vector<FrameScore> scores;
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string reason;
        if (number == 1) {
            if (line != kScoreStatsHeader)
                reason = "the header is not '" + std::string(kScoreStatsHeader) + "'";
        } else if (line.empty()) {
            if (text.empty())
                continue;  // a blank last line
            reason = "empty line";
        } else {
            FrameScore score;
            reason = ReadRow(line, score);
            scores.push_back(score);
        }
        if (!reason.empty()) {
            error = "line " + std::to_string(number) + ": " + reason;
            return std::nullopt;
        }
    }
    if (scores.empty()) {
        error = number == 0 ? "line 1: the file is empty" : "no frames after the header";
        return std::nullopt;
    }
    scores.front().runStart = true;
    if (scores.size() > 1)
        scores.back().forced = true;
    return scores;
}

}  // namespace trevanto
