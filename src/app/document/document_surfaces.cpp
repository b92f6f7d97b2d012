#include "app/document/document_surfaces.h"

#include <algorithm>

namespace trevanto {

bool DocumentSurfaces::SetUp(int screenWidth, int screenHeight) {
    if (IsSetUp())
        return true;
    auto thumbnail = std::make_unique<Surface>(kThumbnailWidth, kThumbnailHeight);
    auto work = std::make_unique<Surface>(screenWidth, screenHeight);
    if (!thumbnail->IsValid() || !work->IsValid())
        return false;
    thumbnail_ = std::move(thumbnail);
    work_ = std::move(work);
    return true;
}

bool DocumentSurfaces::EnsureWorkSize(int width, int height) {
    if (!work_)
        return false;
    if (width <= work_->Width() && height <= work_->Height())
        return true;
    auto work = std::make_unique<Surface>(std::max(width, work_->Width()),
                                          std::max(height, work_->Height()));
    if (!work->IsValid())
        return false;
    work_ = std::move(work);
    return true;
}

}  // namespace trevanto
