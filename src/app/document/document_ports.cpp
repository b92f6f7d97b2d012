#include "app/document/document_ports.h"

namespace trevanto {
namespace {

class NoView final : public ShotViewPort {
  public:
    bool AddThumbnail(const QImage&, const std::string&, int32_t&, int32_t&) override {
        return false;
    }
    bool ReplaceThumbnail(int32_t, const QImage&) override { return false; }
    void SetItemCaption(int32_t, const std::string&) override {}
    void DeleteItemAndImage(int32_t) override {}
    void DeleteAllItems() override {}
};

class NoFrame final : public FramePort {
  public:
    void CheckButton(int32_t, bool) override {}
    void UpdateFramePanes(int32_t, int32_t, bool, double, const PictureTimes&) override {}
    void UpdateShotCount(int32_t) override {}
};

class NoUser final : public UserPort {
  public:
    void ShowMessage(const std::string&, MessageKind) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

}  // namespace

DocumentPorts DocumentPorts::WithDefaults() const {
    // Stateless, so one of each serves every document.
    static NoView noView;
    static NoFrame noFrame;
    static ProgressPort noProgress;
    static NoUser noUser;
    return {view ? view : &noView, frame ? frame : &noFrame, progress ? progress : &noProgress,
            user ? user : &noUser};
}

}  // namespace trevanto
