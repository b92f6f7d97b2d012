// Shot lists for video editors: a CSV table or a CMX 3600 EDL of the shots of
// the open video.
#include "app/document/player_doc.h"
#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "export/shot_list_export.h"

namespace trevanto {

bool CPlayerDoc::ExportShotList() {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    if (shots_.IsEmpty()) {
        ShowMessage(message::kNoShotsToList);
        return false;
    }
    // Said before the dialog, as for the shots file.
    if (!TellShotsLeftOut())
        return false;
    const auto path =
        ports_.user->ChooseFile(FileDialogKind::Save, kShotListFilter, kShotListExtension);
    return path && SaveShotListOfOpenVideo(*path, ShotListKindOf(*path));
}

bool CPlayerDoc::WriteShotList(const std::string& path, ShotListKind kind) {
    if (!player_.IsOpen()) {
        ShowMessage(message::kLoadMovieFirst);
        return false;
    }
    return TellShotsLeftOut() && SaveShotListOfOpenVideo(path, kind);
}

bool CPlayerDoc::TellShotsLeftOut() {
    // The list is timed by the open video: the shots of others are left out.
    LeftOutShots leftOut(player_.OpenedPath());
    for (const auto& shot : shots_)
        leftOut.Take(*shot);
    if (const std::string text = leftOut.Message(); !text.empty())
        ShowMessage(text);
    return shots_.IsEmpty() || !leftOut.NoneLeft();
}

bool CPlayerDoc::SaveShotListOfOpenVideo(const std::string& path, ShotListKind kind) {
    if (!SaveShotList(path, kind, CopyShotsFrom(shots_, player_.OpenedPath()), player_.OpenedPath(),
                      player_.AvgTimePerFrame(), player_.PictureSeconds())) {
        ShowMessage("Cannot write the shot list " + path + ".");
        return false;
    }
    return true;
}

}  // namespace trevanto
