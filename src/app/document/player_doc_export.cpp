// The document's side of the shots files, the JPEG export and publishing:
// what a closed video ends and resets.
#include "app/document/player_doc.h"

namespace trevanto {

void CPlayerDoc::OnVideoClosed() {
    // The awaited frame went with the video, so no job can go on.
    chain_.Cancel();
    // A run's workers read the video: they end with it.
    if (slicing_.IsRunning())
        slicing_.StopSlicing();
    // A new video starts with the default options (the additional files and
    // the two urls stay).
    publisher_.ResetToDefaults();
    slicer_.ClearScores();  // they belong to the video
    ports_.frame->ShowSlicingStatus("");
    ports_.frame->ShowNoSound(false);
}

void CPlayerDoc::SetPublishOptions(const PublishOptions& options) {
    publisher_.Options() = options;
    publisher_.SetUseTemplate(options.useTemplate);
}

}  // namespace trevanto
