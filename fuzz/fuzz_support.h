#pragma once
// What the fuzz targets share: a scratch folder of their own and a shot list.
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "shots/shot_list.h"

namespace trevanto::fuzz {

// A folder made once per process and kept for its life; the targets
// overwrite the same few files in it.
inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/trevanto-fuzz-XXXXXX";
        return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp");
    }();
    return folder;
}

inline void FillShots(ShotList& shots, int count, int32_t length) {
    for (int i = 0; i < count; ++i) {
        auto shot = std::make_unique<Shot>();
        shot->startFrame = i * length;
        shot->SetEnd(i * length + length - 1);
        shot->number = i + 1;
        shot->itemIndex = i;
        shot->imageIndex = i;
        shots.Append(std::move(shot));
    }
}

}  // namespace trevanto::fuzz
