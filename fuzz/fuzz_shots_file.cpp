// Shots file bytes -> header checks and queued records.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "export/shots_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trevanto;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const std::string path = fuzz::ScratchFolder() + "/shots.hpv";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    ShotsFileReader reader;
    PendingShotList pending;
    if (reader.Open(path) == ShotsFileOpenStatus::Ok) {
        const ShotsFileOpenStatus read = reader.ReadRecords(pending, [](int32_t position) {
            if (position < 0 || position > 32767)
                std::abort();
        });
        if (read != ShotsFileOpenStatus::Ok && !pending.IsEmpty())
            std::abort();
    }
    // Records alone, and no record out of nothing.
    ShotsFileReader::ParseRecords(bytes, pending);
    if (pending.ShotCount() > kMaxShotsFileRecords ||
        (!pending.IsEmpty() && bytes.find("shot") == bytes.npos))
        std::abort();
    return 0;
}
