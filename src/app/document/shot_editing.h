#pragma once
// The shot edits and their undo stack: insert, delete, merge, refine, refresh,
// split and re-cut, each one step that Undo takes back, pictures and all. The
// document owns the shots, the player, the slicer and the surfaces and lends
// them; the part reaches the rest of the document through its host.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/shot_edit_stack.h"
#include "app/document/document_ports.h"
#include "app/document/document_surfaces.h"
#include "shots/shot_list.h"
#include "shots/shot_slicer.h"
#include "video/player.h"

namespace trevanto {

class ShotTemplate;

// What the edits ask of the document: the view and the user, the captions,
// the thumbnail of the frame on show, and the frame jobs that finish an edit
// (retaking a picture, rebuilding re-cut shots).
class ShotEditingHost {
  public:
    virtual ~ShotEditingHost() = default;
    virtual const DocumentPorts& Ports() const = 0;
    virtual bool FrameChainRunning() const = 0;
    virtual bool TimecodeMode() const = 0;
    virtual CaptionContext Captions() const = 0;
    virtual bool ScaleToThumbnail() = 0;
    virtual bool CaptureShot(bool add, int32_t start, int32_t end, int32_t imageIndex) = 0;
    virtual const ShotTemplate& GetShotTemplate() const = 0;
    // Starts the job that retakes the item's picture at its start frame.
    virtual void StartRefresh(int32_t item) = 0;
    // Starts the job that adds the shots of `records`, their pictures taken
    // from sought frames.
    virtual void RebuildShots(std::vector<Shot> records) = 0;
};

class ShotEditing {
  public:
    ShotEditing(ShotEditingHost& host, Player& player, ShotSlicer& slicer,
                DocumentSurfaces& surfaces, ShotList& shots, PendingShotList& pending)
        : host_(host),
          player_(player),
          slicer_(slicer),
          surfaces_(surfaces),
          shots_(shots),
          pending_(pending) {}

    // Each edit below is one step of the undo stack (see Undo), refused
    // (false, changing nothing) during a run or while a chain of frame jobs
    // runs; InsertShot during a run joins the run's step.
    void InsertShot();  // command::kInsertShot, command::kShotsAddManually
    bool DeleteShot(int32_t item);
    // Deletes the items (ascending) as one edit; each removed shot's frames
    // go to the shot after it. False when one could not be deleted.
    bool DeleteShots(const std::vector<int32_t>& items);
    // "Delete shots": every shot and its view item, and the records waiting
    // to be rebuilt.
    void ClearShots();
    void RefineShotStart(int32_t item);
    // "Merge": the items (ascending) become one shot, the last, whose picture
    // is retaken at its new start. Refused (false) while a chain of frame
    // requests runs, since it ends with a refresh.
    bool MergeShots(const std::vector<int32_t>& items);
    // "Split shot here": the shot of the open video that holds the frame on
    // show ends before it, and a new shot starts at it, its picture that
    // frame. False, changing nothing, when no shot can be split there (the
    // frame is a shot's first), without a video, during a run or a chain.
    bool SplitShotHere();
    // Retakes the picture of the item's shot at its start frame. Refused
    // (false) while a chain of frame requests runs: the chain owns the request.
    bool RefreshShotImage(int32_t item);
    // Cuts the video again from the kept scores at `threshold`, which becomes
    // the engine's: the shots the last cut made are replaced, their pictures
    // retaken from the video. Shots made by hand or edited (any other range)
    // are kept when `keepOwnShots`, else dropped. False, changing nothing,
    // without scores or while a run or a chain of frame requests runs.
    bool RecutShots(float threshold, bool keepOwnShots);

    // Puts the shots back as they were before the last edit (Redo: after the
    // last edit undone), pictures and all. Refused (false) when there is no
    // such edit, during a run or while a chain of frame jobs runs.
    bool Undo();
    bool Redo();
    // The edit Undo (Redo) takes back, e.g. "Merge 3 shots"; empty for none.
    std::string UndoName() const { return edits_.UndoName(); }
    std::string RedoName() const { return edits_.RedoName(); }
    // The shots changed since they were last saved or loaded; undoing back
    // to those shots makes them unchanged again.
    bool ShotsModified() const;
    void SetShotsModified(bool modified);

    // The document's side of the steps. A shot was added: by an edit, a run
    // or a rebuild (`rebuilding`) it is part of that step; alone, it is a
    // change no step takes back.
    void OnShotAdded(bool rebuilding);
    // Loading a shots file keeps the shots as they are as one edit.
    void RecordShotsEdit(const ShotEdit& edit);
    // A run's shots are one edit: kept when it begins, pushed when it ends.
    void OpenRunStep();
    void CloseRunStep();

  private:
    // Runs `change` as one edit: the undo stack keeps the shots as they were
    // when it changed their records or, `later`, when it returned true having
    // started a frame job that will. An edit within an edit is part of that
    // one; during a run or a chain the edit is refused, but for an insert
    // during a run, which is part of the run's step.
    bool RunEdit(const ShotEdit& edit, bool later, const std::function<bool()>& change);
    ShotsState KeepShots() const;
    void PutBackShots(const ShotsState& state);
    // The edits without their undo step.
    bool RemoveShot(int32_t item);
    void RemoveAllShots();
    void RefineStartNow(int32_t item);
    bool MergeNow(const std::vector<int32_t>& items);
    bool SplitNow();
    bool RefreshNow(int32_t item);
    bool RecutNow(float threshold, bool keepOwnShots);
    bool IsOfOpenVideo(const Shot& shot) const { return shot.IsFrom(player_.OpenedPath()); }
    void UpdateShotCount();
    void ShowMessage(const std::string& text);

    ShotEditingHost& host_;
    Player& player_;
    ShotSlicer& slicer_;
    DocumentSurfaces& surfaces_;
    ShotList& shots_;
    PendingShotList& pending_;
    ShotEditStack edits_;
    int editDepth_ = 0;
    // The shots when the run in progress started; its shots are one edit.
    std::optional<ShotsState> runBefore_;
};

}  // namespace trevanto
