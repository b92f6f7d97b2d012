#pragma once
// A clip session whose user answers the file dialogs, counts the event pumps
// of the JPEG export and notes the pages opened, with a recorded progress bar.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clip_session.h"

namespace trevanto::test {

class DialogUser : public RecordingUser {
  public:
    std::optional<std::string> ChooseFile(FileDialogKind kind, const std::string& filter,
                                          const std::string& defaultExtension) override {
        dialogs.push_back((kind == FileDialogKind::Open ? "open " : "save ") + filter + " " +
                          defaultExtension);
        return answer;
    }
    bool PumpEventsAndCheckEscape(int maxEvents) override {
        ++pumps;
        pumpSize = maxEvents;
        if (onPump)
            onPump(pumps);  // what the user does while the events go through
        return pumps == escapeAtPump;
    }
    bool OpenWithDefaultHandler(const std::string& pathOrUrl) override {
        opened.push_back(pathOrUrl);
        return true;
    }

    std::optional<std::string> answer;
    std::vector<std::string> dialogs;
    int pumps = 0;
    int pumpSize = 0;
    int escapeAtPump = -1;
    std::function<void(int pump)> onPump;
    std::vector<std::string> opened;
};

class RecordingProgress : public ProgressPort {
  public:
    void BeginProgress(const std::string& caption) override { log.push_back("begin " + caption); }
    void SetProgress(int32_t position) override { last = position; }
    void EndProgress() override { log.push_back("end"); }
    std::vector<std::string> log;
    int32_t last = -1;
};

class LockingView : public RecordingView {
  public:
    void SetPaintingLocked(bool locked) override {
        lockLog.push_back(locked);
        this->locked = locked;
    }
    std::vector<bool> lockLog;
    bool locked = false;
};

// A document on a clip with the ports above.
class ExportSession : public ClipSession {
  public:
    ExportSession() {
        lockingView.document = &doc;
        doc.SetPorts(DocumentPorts{&lockingView, &frame, &progress, &dialogUser});
    }
    // Opens the clip and slices it with the engine from its first frame.
    bool OpenAndSlice(const TestClip& clip) {
        if (!Open(clip))
            return false;
        doc.GetPlayer().SeekToFrame(0);
        doc.StartEngine();
        return RunUntilSlicingEnds();
    }
    bool RunUntilRebuilt() {
        return RunUntil([this] { return !doc.ShotsFile().IsRebuilding(); });
    }
    bool RunUntilExported() {
        return RunUntil([this] { return !doc.JpegExport().IsActive(); });
    }

    LockingView lockingView;
    RecordingProgress progress;
    DialogUser dialogUser;
};

}  // namespace trevanto::test
