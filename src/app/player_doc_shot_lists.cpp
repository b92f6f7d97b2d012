// Shot lists for video editors: the shots as a CSV table or a CMX 3600 EDL.
#include "app/document_messages.h"
#include "app/player_doc.h"
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
    const auto path =
        ports_.user->ChooseFile(FileDialogKind::Save, kShotListFilter, kShotListExtension);
    if (!path)
        return false;
    if (!SaveShotList(*path, ShotListKindOf(*path), shots_, player_.OpenedPath(),
                      player_.AvgTimePerFrame())) {
        ShowMessage("Cannot write the shot list " + *path + ".");
        return false;
    }
    return true;
}

}  // namespace trevanto
