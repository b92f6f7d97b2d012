#pragma once
// Retaking the picture of one shot at its start frame, as a frame job of one
// item; a frame that is not the start is shown meanwhile.
#include <cstdint>
#include <string>

#include "app/jobs/command_hosts.h"
#include "app/jobs/frame_job_chain.h"

namespace trevanto {

class ThumbnailRefreshJob : public FrameJob {
  public:
    explicit ThumbnailRefreshJob(ThumbnailRefreshHost& host) : host_(host) {}
    void SetItem(int32_t item) { item_ = item; }

    std::string ProgressCaption() const override { return {}; }
    Seek SeekItem(int32_t k) override;
    int32_t WantedFrame(int32_t k) const override;
    void OnOtherFrame(int32_t k) override;
    bool Act(int32_t k) override;
    void OnUnreachable(int32_t k) override;
    void Finish(bool /*completed*/) override {}

  private:
    ThumbnailRefreshHost& host_;
    int32_t item_ = -1;
};

}  // namespace trevanto
