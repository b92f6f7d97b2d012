#include "common/temporary_file.h"

#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>

namespace trevanto {
namespace {

// The signal handler may neither allocate nor lock: it reads a fixed table
// whose entries are published with lock-free flags.
struct Slot {
    std::atomic<bool> taken{false};  // owned by a TemporaryFile
    std::atomic<bool> live{false};   // `path` names the file, made or being made
    char path[PATH_MAX] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free);

constexpr size_t kSlots = 16;
std::array<Slot, kSlots> slots;
constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP};

int TakeSlot() {
    for (size_t i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (slots[i].taken.compare_exchange_strong(expected, true))
            return static_cast<int>(i);
    }
    return -1;
}

extern "C" void RemoveAndEnd(int signal) {
    for (const Slot& slot : slots)
        if (slot.live.load(std::memory_order_acquire))
            ::unlink(slot.path);  // async-signal-safe, as are the calls below
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    ::sigaction(signal, &standard, nullptr);
    // Delivered when the handler returns, since it is blocked meanwhile.
    ::raise(signal);
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& prefix,
                             const std::string& suffix) {
    std::string name = folder + "/" + prefix + "XXXXXX" + suffix;
    if (name.size() >= PATH_MAX)
        return;
    // The name is made in the slot itself, which the handler reads already:
    // a signal that comes as the file is made finds its name there.
    char* made = name.data();
    slot_ = TakeSlot();
    if (slot_ >= 0) {
        Slot& slot = slots[static_cast<size_t>(slot_)];
        std::memcpy(slot.path, name.c_str(), name.size() + 1);
        slot.live.store(true, std::memory_order_release);
        made = slot.path;
    }
    const int descriptor = ::mkstemps(made, static_cast<int>(suffix.size()));
    if (descriptor < 0) {
        ReleaseSlot();
        return;
    }
    ::close(descriptor);
    path_ = made;
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty())
        ::unlink(path_.c_str());
    // After the unlink: a signal in between removes nothing that is there.
    ReleaseSlot();
}

void TemporaryFile::ReleaseSlot() {
    if (slot_ < 0)
        return;
    slots[static_cast<size_t>(slot_)].live.store(false, std::memory_order_release);
    slots[static_cast<size_t>(slot_)].taken.store(false, std::memory_order_release);
    slot_ = -1;
}

void RemoveTemporaryFilesOnSignals() {
    struct sigaction handler {};
    handler.sa_handler = RemoveAndEnd;
    sigemptyset(&handler.sa_mask);
    for (const int signal : kSignals)
        sigaddset(&handler.sa_mask, signal);  // one removal at a time
    for (const int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            ::sigaction(signal, &handler, nullptr);
    }
}

}  // namespace trevanto
