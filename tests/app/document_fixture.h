#pragma once
// A document on a fake graph whose frames are synthetic scenes: the cuts are
// known, every frame is 100 x 80 so the thumbnail surface receives it as is.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/player_doc.h"
#include "recording_ports.h"
#include "shots/synthetic_frames.h"
#include "video/fake_media_graph.h"

namespace trevanto::test {

using RangeList = std::vector<std::pair<int32_t, int32_t>>;

class DocumentTest : public ::testing::Test {
  protected:
    DocumentTest() {
        view.document = &doc;
        source.frames = 200;
        source.width = kThumbnailWidth;
        source.height = kThumbnailHeight;
        source.prepare = [this](FakeMediaGraph& graph) {
            graph.painter = [this](Surface& surface, int frame) {
                PaintStripes(surface, SceneContrast(SceneOf(frame)));
            };
        };
    }

    int SceneOf(int frame) const {
        return static_cast<int>(std::upper_bound(cuts.begin(), cuts.end(), frame) - cuts.begin());
    }
    // Opens the synthetic video and takes the first frame it shows.
    void Open() {
        ASSERT_TRUE(doc.OpenVideo("/videos/synthetic.mpg"));
        graph = source.opened;
        doc.HandleGraphEvents();
    }
    // The stream delivers frames first..last, each handled at once.
    void Deliver(int first, int last) {
        for (int frame = first; frame <= last; ++frame) {
            graph->DeliverFrame(frame);
            doc.HandleGraphEvents();
        }
    }
    // Whatever waits (a sought frame) is delivered.
    void Settle() { doc.HandleGraphEvents(); }
    void EndOfStream() {
        graph->DeliverEvent(GraphEventCode::Complete);
        doc.HandleGraphEvents();
    }
    // The start and end frames of every shot, in list order.
    std::vector<std::pair<int32_t, int32_t>> Ranges() const {
        std::vector<std::pair<int32_t, int32_t>> ranges;
        for (const auto& shot : doc.Shots())
            ranges.emplace_back(shot->startFrame, shot->endFrame);
        return ranges;
    }
    // Adds shots of the given ranges as a slicer would.
    void AddShots(const std::vector<std::pair<int32_t, int32_t>>& ranges) {
        for (const auto& [start, end] : ranges) {
            std::string caption;
            ASSERT_TRUE(doc.AddShot(QImage(100, 80, QImage::Format_RGB888), caption, start, end));
        }
    }

    std::vector<int> cuts{50, 120};
    FakeGraphSource source;
    RecordingView view;
    RecordingFrame frame;
    RecordingUser user;
    CPlayerDoc doc{source.Factory(), DocumentPorts{&view, &frame, nullptr, &user}, 320, 240};
    FakeMediaGraph* graph = nullptr;
};

}  // namespace trevanto::test
