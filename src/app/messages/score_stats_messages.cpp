#include "app/messages/score_stats_messages.h"

namespace trevanto {
namespace {

std::string Reason(const ScoreStatsError& error) {
    switch (error.problem) {
        case ScoreStatsProblem::EmptyFile:
            return "the file is empty";
        case ScoreStatsProblem::WrongHeader:
            return "the header is not '" + std::string(kScoreStatsHeader) + "'";
        case ScoreStatsProblem::NoFrames:
            return "no frames after the header";
        case ScoreStatsProblem::EmptyLine:
            return "empty line";
        case ScoreStatsProblem::FieldCount:
            return "expected 4 fields (" + std::string(kScoreStatsHeader) + "), found " +
                   std::to_string(error.fieldCount);
        case ScoreStatsProblem::BadFrame:
            return "the frame '" + error.field + "' is not a frame number";
        case ScoreStatsProblem::BadScore:
            return "the score '" + error.field + "' is not a number of 0 or more";
        case ScoreStatsProblem::BadCut:
            return "the cut '" + error.field + "' is not 0 or 1";
    }
    return {};
}

}  // namespace

std::string ScoreStatsMessage(const ScoreStatsError& error) {
    if (error.line == 0)
        return Reason(error);
    return "line " + std::to_string(error.line) + ": " + Reason(error);
}

}  // namespace trevanto
