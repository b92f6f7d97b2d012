// Why the cuts were made: cutting again from the engine's kept scores, and
// shot lists for video editors (a CSV table or a CMX 3600 EDL).
#include <algorithm>
#include <set>

#include "app/document/player_doc.h"
#include "app/document/shots_of_video.h"
#include "app/messages/document_messages.h"
#include "export/shot_list_export.h"
#include "shots/change_scores.h"

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

bool CPlayerDoc::RecutShots(float threshold, bool keepOwnShots) {
    return RunEdit({ShotEditKind::Recut}, true, [&] { return RecutNow(threshold, keepOwnShots); });
}

bool CPlayerDoc::RecutNow(float threshold, bool keepOwnShots) {
    const ChangeScores& scores = slicer_.Scores();
    if (scores.IsEmpty() || !player_.IsOpen() || slicer_.IsActive() || chain_.IsRunning())
        return false;
    const auto cut = [&scores](float at) { return scores.RecutAt(at).shots; };
    // The engine's shots are those of the last cut; any other range was made
    // by hand, merged, refined or loaded.
    std::set<std::pair<int32_t, int32_t>> engineShots;
    for (const ShotRange& range : cut(scores.RunThreshold()))
        engineShots.emplace(range.start, range.end);
    std::vector<Shot> records;
    for (const auto& shot : shots_) {
        if (keepOwnShots && IsOfOpenVideo(*shot) &&
            !engineShots.count({shot->startFrame, shot->endFrame}))
            records.push_back(*shot);
    }
    for (const ShotRange& range : cut(threshold)) {
        Shot record;
        record.startFrame = record.imageFrame = range.start;
        record.endFrame = range.end;
        records.push_back(record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const Shot& a, const Shot& b) { return a.startFrame < b.startFrame; });
    player_.Pause();  // the pictures are taken from sought frames, as for a shots file
    if (std::all_of(shots_.begin(), shots_.end(),
                    [this](const auto& shot) { return IsOfOpenVideo(*shot); })) {
        RemoveAllShots();
    } else {
        // The shots of other videos stay, with their pictures; the cut ones
        // follow them.
        for (const int32_t item :
             shots_.RemoveIf([this](const Shot& shot) { return IsOfOpenVideo(shot); }))
            ports_.view->DeleteItemAndImage(item);
        int32_t number = 0;
        for (const auto& shot : shots_) {
            shot->number = ++number;
            shot->BuildCaption(Captions());
            if (shot->itemIndex >= 0)
                ports_.view->SetItemCaption(shot->itemIndex, shot->caption);
        }
        UpdateShotCount();
    }
    slicer_.Settings().threshold = threshold;
    slicer_.SetScoresThreshold(threshold);
    shotsFile_.RebuildShots(std::move(records));
    return true;
}

}  // namespace trevanto
