#include "cli/batch_command.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>

#include "cli/batch_child.h"
#include "cli/batch_index.h"
#include "cli/batch_inputs.h"
#include "cli/batch_manifest.h"
#include "cli/batch_progress.h"
#include "cli/exit_status.h"
#include "common/text_format.h"

namespace trevanto::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The per-video files, as (suffix, wanted); the folder of images and pages
// is the base itself.
std::vector<std::string> FileSuffixes(const BatchOutputs& outputs) {
    std::vector<std::string> suffixes;
    for (const auto& [wanted, suffix] :
         {std::pair(outputs.save, ".hpv"), std::pair(outputs.csv, ".csv"),
          std::pair(outputs.edl, ".edl"), std::pair(outputs.stats, ".stats.csv")}) {
        if (wanted)
            suffixes.emplace_back(suffix);
    }
    return suffixes;
}

// For the tests of interrupted batches only: TREVANTO_BATCH_TEST_KILL=WHEN:N
// kills the batch at the N-th such moment (start: a video's slicing has
// begun; rename: an output is about to be renamed into place; record: a
// video's record is written), as a kill -9 or a power loss would.
void KillPoint(const char* moment) {
    static const char* const hook = std::getenv("TREVANTO_BATCH_TEST_KILL");
    static int count = 0;
    if (!hook)
        return;
    const std::string wanted(hook);
    const size_t colon = wanted.find(':');
    if (wanted.compare(0, colon, moment) != 0 || std::atoi(wanted.c_str() + colon + 1) != ++count)
        return;
    if (std::string(moment) == "start")
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the child is decoding
    ::raise(SIGKILL);
}

struct Identity {
    int64_t size = -1;
    int64_t mtimeNs = 0;
};

Identity IdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

ManifestRecord RecordOf(const BatchInput& input, const Identity& identity, const std::string& key) {
    ManifestRecord record;
    record.input = input.relative;
    record.base = input.base;
    record.size = identity.size;
    record.mtimeNs = identity.mtimeNs;
    record.options = key;
    return record;
}

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// A rename into place; an old folder of images goes first, since a rename
// cannot replace a folder that holds files.
bool MoveIntoPlace(const fs::path& from, const fs::path& to) {
    KillPoint("rename");
    std::error_code error;
    fs::create_directories(to.parent_path(), error);
    if (fs::is_directory(from, error))
        fs::remove_all(to, error);
    fs::rename(from, to, error);
    return !error;
}

bool WriteIndex(const BatchOptions& options, const CliStreams& streams) {
    std::string reason;
    if (WriteBatchIndex(options.outFolder, options.indexArchive, reason))
        return true;
    streams.err << "trevanto-cli: " << reason << '\n';
    return false;
}

class BatchRun {
  public:
    BatchRun(const BatchOptions& options, const CliStreams& streams, ChildEntry entry)
        : options_(options),
          streams_(streams),
          out_(options.outFolder),
          manifest_((out_ / kManifestName).string()),
          key_(OptionsKey(options)),
          progress_(streams.out, streams.err, streams.errIsTerminal, options),
          entry_(std::move(entry)) {}

    int Run();

  private:
    struct Running {
        ChildProcess child;
        size_t input;
        fs::path work;
        Identity identity;
        Clock::time_point start;
        bool overdue = false;
    };

    bool Finished(const BatchInput& input, const Identity& identity);
    void Start(size_t index);
    void Reap(const Running& running, int waitStatus);
    // Kills the runs past --time-limit; their end is reaped as any other.
    void StopOverdue();
    void Record(ManifestRecord record, int64_t bytes);

    const BatchOptions& options_;
    const CliStreams& streams_;
    const fs::path out_;
    const std::string manifest_;
    const std::string key_;
    BatchProgress progress_;
    const ChildEntry entry_;
    std::vector<BatchInput> inputs_;
    std::map<std::string, ManifestRecord> records_;
    std::vector<Running> running_;
    fs::path workRoot_;
    std::string program_;
    size_t started_ = 0;
    int32_t done_ = 0;
    int32_t failed_ = 0;
    bool manifestFailed_ = false;
};

bool BatchRun::Finished(const BatchInput& input, const Identity& identity) {
    const auto found = records_.find(input.relative);
    if (found == records_.end())
        return false;
    const ManifestRecord& record = found->second;
    if (record.size != identity.size || record.mtimeNs != identity.mtimeNs ||
        record.options != key_ || record.base != input.base) {
        return false;
    }
    if (record.status == "failed")
        return !options_.retryFailed;
    std::error_code error;
    for (const std::string& suffix : FileSuffixes(options_.outputs)) {
        if (!fs::exists(out_ / (input.base + suffix), error))
            return false;  // removed since: made again
    }
    return record.status == "done" &&
           (!options_.outputs.Folder() || fs::is_directory(out_ / input.base, error));
}

void BatchRun::Start(size_t index) {
    const BatchInput& input = inputs_[index];
    // The run's own folder mirrors the output folder: work/holiday/day1.hpv.
    const fs::path work = workRoot_ / std::to_string(++started_);
    std::error_code error;
    const fs::path base(input.base);
    fs::create_directories(work / (options_.outputs.Folder() ? base : base.parent_path()), error);
    const Identity identity = IdentityOf(input.path);
    ChildProcess child =
        StartChild(program_, SliceArguments(options_, input.path, input.base), work.string(),
                   work.string() + ".shots", work.string() + ".messages",
                   // The child starts in its work folder.
                   fs::absolute(work, error).string() + ".facts", entry_);
    if (!child.Started()) {
        ManifestRecord record = RecordOf(input, identity, key_);
        record.status = "failed";
        record.reason = "cannot start slice";
        Record(std::move(record), identity.size);
        return;
    }
    running_.push_back({std::move(child), index, work, identity, Clock::now()});
    progress_.Begun(input.relative);
    KillPoint("start");
}

void BatchRun::StopOverdue() {
    if (options_.timeLimit <= 0)
        return;
    const auto limit = std::chrono::duration<double>(options_.timeLimit);
    for (Running& running : running_) {
        if (!running.overdue && Clock::now() - running.start > limit) {
            running.overdue = true;
            ::kill(running.child.Pid(), SIGKILL);
        }
    }
}

void BatchRun::Reap(const Running& running, int waitStatus) {
    const BatchInput& input = inputs_[running.input];
    ManifestRecord record = RecordOf(input, running.identity, key_);
    const std::string work = running.work.string();
    record.reason = running.overdue
                        ? FormatText("stopped after the time limit of %g s", options_.timeLimit)
                        : ChildFailure(waitStatus, work + ".messages");
    if (record.reason.empty()) {
        CountShots(work + ".shots", record.shots, record.frames);
        record.duration = ReadVideoDuration(work + ".facts");
        for (const std::string& suffix : FileSuffixes(options_.outputs)) {
            if (!MoveIntoPlace(running.work / (input.base + suffix), out_ / (input.base + suffix)))
                record.reason = "cannot write " + (out_ / (input.base + suffix)).string();
        }
        if (options_.outputs.Folder() &&
            !MoveIntoPlace(running.work / input.base, out_ / input.base)) {
            record.reason = "cannot write " + (out_ / input.base).string() + "/";
        }
    }
    record.status = record.reason.empty() ? "done" : "failed";
    record.seconds =
        std::round(std::chrono::duration<double>(Clock::now() - running.start).count() * 1000) /
        1000;
    std::error_code error;
    fs::remove_all(running.work, error);
    fs::remove(work + ".shots", error);
    fs::remove(work + ".messages", error);
    fs::remove(work + ".facts", error);
    Record(std::move(record), std::max<int64_t>(running.identity.size, 0));
}

void BatchRun::Record(ManifestRecord record, int64_t bytes) {
    record.finished = UtcNow();
    if (!AppendRecord(manifest_, record) && !manifestFailed_) {
        streams_.err << "trevanto-cli: cannot write " << manifest_ << '\n';
        manifestFailed_ = true;
    }
    KillPoint("record");
    (record.status == "done" ? done_ : failed_) += 1;
    progress_.Finished(record, bytes);
}

int BatchRun::Run() {
    std::error_code error;
    fs::create_directories(out_, error);
    if (!fs::is_directory(out_, error)) {
        streams_.err << "trevanto-cli: cannot make the folder " << out_.string() << '\n';
        return kFailure;
    }
    std::string reason;
    auto found = FindBatchInputs(options_.inputs, out_.string(), reason);
    if (!found) {
        streams_.err << "trevanto-cli batch: " << reason << '\n';
        return kBadArguments;
    }
    for (BatchInput& input : *found) {
        if (InShard(input.relative, options_.shardIndex, options_.shardCount))
            inputs_.push_back(std::move(input));
    }
    records_ = ReadManifest(manifest_);
    std::vector<size_t> todo;
    std::vector<const ManifestRecord*> finished;
    int64_t bytesToDo = 0;
    for (size_t i = 0; i < inputs_.size(); ++i) {
        const Identity identity = IdentityOf(inputs_[i].path);
        if (!Finished(inputs_[i], identity)) {
            todo.push_back(i);
            bytesToDo += std::max<int64_t>(identity.size, 0);
        } else {
            finished.push_back(&records_[inputs_[i].relative]);
            (finished.back()->status == "done" ? done_ : failed_) += 1;
        }
    }
    // What a killed run left half made is thrown away; each shard has its own.
    workRoot_ =
        out_ / (options_.shardCount > 1 ? FormatText(".trevanto-work-%d-of-%d", options_.shardIndex,
                                                     options_.shardCount)
                                        : std::string(".trevanto-work"));
    fs::remove_all(workRoot_, error);
    program_ = OwnExecutable();
    progress_.Start(static_cast<int32_t>(inputs_.size()), done_ + failed_, bytesToDo);
    for (const ManifestRecord* record : finished)
        progress_.Recorded(*record);
    size_t next = 0;
    while (next < todo.size() || !running_.empty()) {
        while (next < todo.size() && running_.size() < static_cast<size_t>(options_.jobs))
            Start(todo[next++]);
        int waitStatus = 0;
        const pid_t ended = ::waitpid(-1, &waitStatus, WNOHANG);
        const auto child =
            std::find_if(running_.begin(), running_.end(),
                         [ended](const Running& r) { return r.child.Pid() == ended; });
        if (ended > 0 && child != running_.end()) {
            Running ran = std::move(*child);
            running_.erase(child);
            Reap(ran, waitStatus);
            continue;
        }
        // Woken the moment a child ends, so the next video starts at once.
        std::vector<const ChildProcess*> children;
        for (const Running& running : running_)
            children.push_back(&running.child);
        AwaitChildEnd(children, 100);
        StopOverdue();
        progress_.Tick();
    }
    fs::remove_all(workRoot_, error);
    progress_.End(done_, failed_);
    const bool indexed = !options_.index || WriteIndex(options_, streams_);
    return failed_ > 0 || manifestFailed_ || !indexed ? kFailure : kSuccess;
}

// Copies a file through a temporary name beside the target.
bool CopyIntoPlace(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_directories(to.parent_path(), error);
    const fs::path temporary = to.string() + ".trevanto-merge";
    fs::copy_file(from, temporary, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::rename(temporary, to, error);
    if (error)
        fs::remove(temporary, error);
    return !error;
}

}  // namespace

int RunBatch(const BatchOptions& options, const CliStreams& streams, ChildEntry entry) {
    BatchRun run(options, streams, std::move(entry));
    return run.Run();
}

int RunBatchMerge(const BatchOptions& options, const CliStreams& streams) {
    const fs::path out(options.outFolder);
    std::error_code error;
    for (const std::string& source : options.inputs) {
        if (!fs::is_directory(source, error) ||
            !fs::exists(fs::path(source) / kManifestName, error)) {
            streams.err << "trevanto-cli batch: " << source << " is no batch's output folder\n";
            return kBadArguments;
        }
    }
    fs::create_directories(out, error);
    bool ok = true;
    std::map<std::string, ManifestRecord> merged;
    const std::string manifest = (out / kManifestName).string();
    const auto before = ReadManifest(manifest);
    for (const std::string& source : options.inputs) {
        if (fs::equivalent(source, out, error))
            continue;
        for (auto it = fs::recursive_directory_iterator(source, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code ignored;
            const fs::path relative = fs::relative(it->path(), source, ignored);
            const bool hidden = relative.filename().string().rfind('.', 0) == 0;
            // The index is made anew from the merged manifest.
            if (hidden || relative == kManifestName || relative == kIndexName) {
                if (hidden && it->is_directory(ignored))
                    it.disable_recursion_pending();
                continue;
            }
            if (it->is_regular_file(ignored) && !CopyIntoPlace(it->path(), out / relative)) {
                streams.err << "trevanto-cli: cannot write " << (out / relative).string() << '\n';
                ok = false;
            }
        }
        for (auto& [input, record] : ReadManifest((fs::path(source) / kManifestName).string()))
            merged[input] = std::move(record);
    }
    bool failed = false;
    for (const auto& [input, record] : merged) {
        const auto old = before.find(input);
        if (old == before.end() || FormatRecord(old->second) != FormatRecord(record))
            ok = AppendRecord(manifest, record) && ok;
    }
    for (const auto& [input, record] : ReadManifest(manifest))
        failed = failed || record.status != "done";
    if (!ok)
        streams.err << "trevanto-cli: the merge is incomplete\n";
    ok = (!options.index || WriteIndex(options, streams)) && ok;
    return ok && !failed ? kSuccess : kFailure;
}

}  // namespace trevanto::cli
