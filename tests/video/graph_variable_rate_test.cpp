// A clip whose rate changes part way: the picture index gives each frame's
// own time, which no constant-rate file pays for.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "graph_driver.h"
#include "video/picture_index.h"

namespace trevanto::test {
namespace {

TEST(GraphVariableRateTest, EachFrameHasItsPicturesTime) {
    OpenError error;
    const auto graph = OpenUnpaced(MediaPath(VariableRateClip()), error);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(VariableRateClip()));
    // Read off the owner's path: known at the latest once a later frame came.
    ASSERT_TRUE(graph->PutCurrentPosition(SecondsOf(*graph, 120)));
    EXPECT_EQ(NextFrameCode(*graph), 120);
    const auto seconds = graph->PictureSeconds();
    ASSERT_TRUE(seconds);
    ASSERT_EQ(seconds->size(), size_t(VariableRateClip().frameCount));
    for (int frame = 0; frame < VariableRateClip().frameCount; ++frame)
        ASSERT_NEAR((*seconds)[frame],
                    double(VariableRateTicks(frame)) / kVariableRateTicksPerSecond, 1e-6)
            << frame;

    // (Exact seeks on both sides of the change: graph_clip_test's VariableRate.)
    const auto constant = OpenUnpaced(MediaPath(TestClips().front()), error);
    ASSERT_TRUE(constant) << MediaErrorText(error.cause, MediaPath(TestClips().front()));
    ASSERT_TRUE(constant->PutCurrentPosition(SecondsOf(*constant, 120)));
    EXPECT_EQ(NextFrameCode(*constant), 120);
    EXPECT_FALSE(constant->PictureSeconds()) << "a constant rate needs no index";
}

// Which streams need the index, from the container's own index alone: a
// sample table's decoding times (ticks of 1/15360 s) stepping unevenly.
TEST(GraphVariableRateTest, OnlyUnevenSampleTablesNeedTheIndex) {
    struct Entry {
        int64_t dts;
        bool discard = false;
    };
    const struct {
        const char* demuxer;
        std::vector<Entry> entries;
        int64_t frames;  // the stream's frame count: all listed, or only key frames
        bool varies;
        std::optional<int64_t> listed;
    } rows[] = {
        {"mp4", {{-1024}, {-512}, {0}, {512}, {1024}}, 5, false, 5},       // B-frames, constant
        {"mov", {{0}, {512}, {1024}, {1792}, {2560}}, 5, true, 5},         // 30, then 20 a second
        {"mp4", {{0}, {512}, {1025}, {1536}, {2048}}, 5, false, 5},        // a tick of rounding
        {"mp4", {{0}, {512}, {1024, true}, {1536}, {2048}}, 5, false, 4},  // hidden by an edit list
        {"mp4", {{0}, {5120}, {12800}}, 200, false, std::nullopt},         // key frames only
        {"avi", {{0}, {1}, {2}, {4}, {5}}, 5, false, std::nullopt},        // chunks, not pictures
        {"matroska", {{0}, {33}, {66}, {116}}, 4, false, std::nullopt},    // cues
    };
    for (const auto& row : rows) {
        const std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> context(
            avformat_alloc_context(), avformat_free_context);
        ASSERT_TRUE(context);
        context->iformat = av_find_input_format(row.demuxer);
        AVStream* stream = avformat_new_stream(context.get(), nullptr);
        ASSERT_TRUE(context->iformat && stream);
        for (const Entry& entry : row.entries)
            av_add_index_entry(stream, 1000 + entry.dts, entry.dts, 100, 0,
                               entry.discard ? AVINDEX_DISCARD_FRAME : 0);
        stream->nb_frames = row.frames;
        EXPECT_EQ(RateVaries(*context, *stream), row.varies) << row.entries[2].dts;
        EXPECT_EQ(ListedPictures(*context, *stream), row.listed) << row.entries[2].dts;
    }
}

}  // namespace
}  // namespace trevanto::test
