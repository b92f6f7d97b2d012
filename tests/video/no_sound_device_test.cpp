// Without an audio device (no PulseAudio server to reach) the graph plays
// the pictures of a video with sound as it would without.
#include <QCoreApplication>

#include "video/graph_driver.h"
#include "video/qt_audio_output.h"

namespace trevanto::test {
namespace {

TEST(NoSoundDevice, VideoWithSoundPlaysItsPictures) {
    TempFolder folder;
    setenv("PULSE_SERVER", ("unix:" + folder / "none").c_str(), 1);
    int argc = 1;
    char name[] = "no_sound_device_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    OpenError error;
    const std::unique_ptr<MediaGraph> graph =
        OpenMediaGraphWithOutput({MediaPath(ToneClip())}, error, MakeQtAudioOutput);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(ToneClip()));
    graph->SetSoundWanted(true);
    EXPECT_FALSE(graph->HasSound());
    graph->Run();
    int last = -1;
    for (int shown = 0; shown < 10; ++shown) {
        const int code = NextFrameCode(*graph);
        EXPECT_GT(code, last);  // plays on, whether frames are dropped or not
        last = code;
    }
}

}  // namespace
}  // namespace trevanto::test
