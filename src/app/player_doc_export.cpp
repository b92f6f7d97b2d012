// The document's side of the shots files, the JPEG export and publishing:
// what a closed video ends and resets.
#include "app/player_doc.h"

namespace trevanto {

bool CPlayerDoc::FrameChainRunning() const {
    return shotsFile_.IsRebuilding() || jpegExport_.IsActive() || player_.FrameRequestPending();
}

void CPlayerDoc::OnVideoClosed() {
    // The pending request went with the video, so no chain can go on.
    shotsFile_.CancelRebuilding();
    jpegExport_.Cancel();
    // A new video starts with the default options (the additional files and
    // the two urls stay).
    publisher_.ResetToDefaults();
}

}  // namespace trevanto
