// The places a seek to a frame tries in turn, far from the start and near it.
#include <gtest/gtest.h>

#include "video/seek_attempts.h"

namespace trevanto {
namespace {

TEST(SeekAttemptsTest, FurtherBackEachTimeThenTheStartByTimeAndByBytes) {
    const double frame = 0.04;
    const struct {
        double target;
        std::vector<SeekAttempt> attempts;
    } rows[] = {
        {100.0,
         {{100.01, false},
          {99.0, false},
          {97.0, false},
          {92.0, false},
          {70.0, false},
          {0.0, false},
          {0.0, true}}},
        {5.0, {{5.01, false}, {4.0, false}, {2.0, false}, {0.0, false}, {0.0, true}}},
        {1.0, {{1.01, false}, {0.0, false}, {0.0, true}}},
        {0.0, {{0.01, false}, {0.0, false}, {0.0, true}}},
    };
    for (const auto& row : rows) {
        const std::vector<SeekAttempt> attempts = SeekAttempts(row.target, frame);
        ASSERT_EQ(attempts.size(), row.attempts.size()) << row.target;
        for (size_t i = 0; i < attempts.size(); ++i) {
            EXPECT_NEAR(attempts[i].seconds, row.attempts[i].seconds, 1e-9) << row.target;
            EXPECT_EQ(attempts[i].byBytes, row.attempts[i].byBytes) << row.target;
        }
    }
}

}  // namespace
}  // namespace trevanto
