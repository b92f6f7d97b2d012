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

ScoreStatsError Problem(ScoreStatsProblem problem, size_t line = 0) {
    ScoreStatsError error;
    error.problem = problem;
    error.line = line;
    return error;
}

// One row; nothing when it reads, else the problem (its line left to fill).
std::optional<ScoreStatsError> ReadRow(std::string_view line, FrameScore& score) {
    const auto fields = SplitFields(line);
    if (fields.size() != 4)
        return ScoreStatsError{ScoreStatsProblem::FieldCount, 0, {}, fields.size()};
    const auto fault = [](ScoreStatsProblem problem, std::string_view field) {
        return ScoreStatsError{problem, 0, std::string(field), 0};
    };
    if (!ReadWhole(fields[0], score.frame) || score.frame < 0)
        return fault(ScoreStatsProblem::BadFrame, fields[0]);
    if (!ReadWhole(fields[2], score.change) || !std::isfinite(score.change) || score.change < 0)
        return fault(ScoreStatsProblem::BadScore, fields[2]);
    if (fields[3] != "0" && fields[3] != "1")
        return fault(ScoreStatsProblem::BadCut, fields[3]);
    return std::nullopt;
}

// The file's text with the timecode of row `i` (frame `frame`) from `timecode`.
template <typename Timecode>
std::string FormatRows(const ChangeScores& scores, float userThreshold, Timecode timecode) {
    const Recut recut = scores.RecutAt(userThreshold);
    std::string text =
        std::string(scores.Detector() == ShotDetector::Content ? kContentScoreStatsHeader
                                                               : kScoreStatsHeader) +
        "\n";
    for (size_t i = 0; i < scores.Frames().size(); ++i) {
        const FrameScore& score = scores.Frames()[i];
        text += std::to_string(score.frame) + "," + timecode(i, score.frame) + "," +
                ScoreText(score.change) + "," + (recut.cutAt[i] ? "1" : "0") + "\n";
    }
    return text;
}

}  // namespace

std::string FormatScoreStats(const ChangeScores& scores, float userThreshold,
                             const PictureTimes& times) {
    return FormatRows(scores, userThreshold, [&](size_t, int32_t frame) {
        return FormatTimecode(frame, 1, scores.SecondsPerFrame(), ':', times);
    });
}

std::string FormatScoreStats(const ChangeScores& scores, float userThreshold,
                             const std::vector<std::string>& timecodes) {
    return FormatRows(scores, userThreshold, [&](size_t i, int32_t) {
        return i < timecodes.size() ? timecodes[i] : std::string();
    });
}

std::optional<std::vector<FrameScore>> ParseScoreStats(std::string_view text,
                                                       ScoreStatsError& error,
                                                       ShotDetector* detector,
                                                       std::vector<std::string>* timecodes) {
    std::vector<std::string> times;
    std::vector<FrameScore> scores;
    ShotDetector wrote = ShotDetector::Spread;
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == text.npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::optional<ScoreStatsError> problem;
        if (number == 1) {
            if (line == kContentScoreStatsHeader)
                wrote = ShotDetector::Content;
            else if (line != kScoreStatsHeader)
                problem = Problem(ScoreStatsProblem::WrongHeader);
        } else if (line.empty()) {
            if (text.empty())
                continue;  // a blank last line
            problem = Problem(ScoreStatsProblem::EmptyLine);
        } else {
            FrameScore score;
            problem = ReadRow(line, score);
            scores.push_back(score);
            if (timecodes && !problem)
                times.emplace_back(SplitFields(line)[1]);
        }
        if (problem) {
            error = *problem;
            error.line = number;
            return std::nullopt;
        }
    }
    if (scores.empty()) {
        error = number == 0 ? Problem(ScoreStatsProblem::EmptyFile, 1)
                            : Problem(ScoreStatsProblem::NoFrames);
        return std::nullopt;
    }
    scores.front().runStart = true;
    if (scores.size() > 1)
        scores.back().forced = true;
    if (detector)
        *detector = wrote;
    if (timecodes)
        *timecodes = std::move(times);
    return scores;
}

}  // namespace trevanto
