#pragma once
// How many segment workers a run may have: the cores, and no more than a
// memory budget holds. A worker's memory is its decoder's: the reference
// pictures the codec may keep, the pictures it holds back for reordering
// and the one it hands out, at the picture's size.
#include <algorithm>
#include <cstdint>

namespace trevanto {

// What the workers of one run may take together.
inline constexpr int64_t kWorkerMemoryBudget = int64_t{2} << 30;  // 2 GiB
// Pictures a decoder may hold at once: 16 references (H.264 and HEVC at
// their most), 2 held back and the one handed out.
inline constexpr int64_t kPicturesPerDecoder = 19;

// A worker's memory for pictures of `width` x `height` with `bytesPerSample`
// (1 for 8 bits, 2 for 10 or 12) at 4:2:0.
constexpr int64_t WorkerMemory(int width, int height, int bytesPerSample) {
    return kPicturesPerDecoder * int64_t{width} * height * 3 / 2 * bytesPerSample;
}

// `wanted` workers (at least 1), as far as the budget holds them.
constexpr int BoundedWorkers(int wanted, int width, int height, int bytesPerSample,
                             int64_t budget = kWorkerMemoryBudget) {
    const int64_t each = std::max<int64_t>(WorkerMemory(width, height, bytesPerSample), 1);
    return static_cast<int>(std::clamp<int64_t>(budget / each, 1, std::max(wanted, 1)));
}

}  // namespace trevanto
