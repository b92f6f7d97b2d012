#include "app/messages/stopped_work_messages.h"

#include "common/paths.h"
#include "common/text_format.h"

namespace trevanto {

std::string StopAction(FrameWork work) {
    switch (work) {
        case FrameWork::JpegImages:
            return "Stop saving the JPEG images";
        case FrameWork::Publication:
            return "Stop publishing to the web";
        case FrameWork::ShotsFileLoad:
            return "Stop loading the shots file";
        case FrameWork::Recut:
            return "Stop cutting the video again";
    }
    return {};
}

std::string StopAndOpenQuestion(const std::string& stopAction, const std::string& path) {
    return stopAction + " and open " + FileNamePart(path) + "?";
}

std::string StoppedReport(FrameWork work, int32_t done, int32_t total) {
    const long made = done;
    const long all = total;
    const long rest = total - done;
    const std::string others =
        rest == 1 ? std::string("the other one was") : FormatText("the other %ld were", rest);
    switch (work) {
        case FrameWork::JpegImages:
            return FormatText(
                "Saving the JPEG images was stopped: %ld of %ld images were saved; %s not "
                "written.",
                made, all, others.c_str());
        case FrameWork::Publication:
            return FormatText(
                "Publishing to the web was stopped: %ld of %ld images were written and no page "
                "was made.",
                made, all);
        case FrameWork::ShotsFileLoad:
        case FrameWork::Recut:
            return FormatText(
                "%s was stopped: %ld of %ld shots were rebuilt; %s not added.",
                work == FrameWork::Recut ? "Cutting the video again" : "Loading the shots file",
                made, all, others.c_str());
    }
    return {};
}

}  // namespace trevanto
