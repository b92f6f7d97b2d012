// A stream over HTTP without a length (chunked transfer) from a loopback
// server: it opens, has no duration, and plays every frame.
#include <gtest/gtest.h>

#include "graph_driver.h"
#include "support/loopback_http_server.h"

namespace trevanto::test {
namespace {

class GraphHttpTest : public ::testing::TestWithParam<TestClip> {};

TEST_P(GraphHttpTest, ChunkedStreamOpensWithoutLengthAndPlaysEveryFrame) {
    SCOPED_TRACE(GetParam().file);
    LoopbackHttpServer server;
    HttpReply chunked = FileReply("video/mpeg", MediaPath(GetParam()));
    chunked.chunked = true;
    server.Serve("/clip", chunked);
    ASSERT_GT(server.Port(), 0);
    OpenError error;
    auto graph = OpenUnpaced(server.Url("/clip"), error);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, "/clip");
    EXPECT_EQ(graph->DurationSeconds(), 0.0) << "no frame count without a length";
    EXPECT_NEAR(graph->AvgTimePerFrame(), 0.04, 1e-9);
    EXPECT_FALSE(graph->PutCurrentPosition(1.0)) << "a stream without a length cannot seek";
    graph->Run();
    GraphEvent event;
    int expected = 0;
    while (WaitEvent(*graph, event) && event.code == GraphEventCode::Repaint)
        ASSERT_EQ(ReadFrameCode(*event.frame), expected++);
    EXPECT_EQ(event.code, GraphEventCode::Complete);
    EXPECT_EQ(expected, GetParam().frameCount);
}

INSTANTIATE_TEST_SUITE_P(Clips, GraphHttpTest,
                         ::testing::Values(*FindTestClip("clip_mpeg1.mpg"),
                                           *FindTestClip("clip_mpeg4.avi"),
                                           *FindTestClip("clip_wmv2.asf")));

}  // namespace
}  // namespace trevanto::test
