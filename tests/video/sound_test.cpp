// The graph's sound on a real PulseAudio server with a null sink, recorded
// from the sink's monitor with parec. Needs pulseaudio and parec: where none
// can run, leave these out with `ctest -LE sound`.
#include <QCoreApplication>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "video/graph_driver.h"
#include "video/qt_audio_output.h"

namespace trevanto::test {
namespace {

constexpr int kRate = 48000;
constexpr size_t kWindow = kRate / 100;  // 10 ms

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A shell command with its standard output on a pipe (unbuffered, so that
// reads return what has come), ended by End or when the object goes.
class Child {
  public:
    explicit Child(const std::string& command)
        : pipe_(popen(("echo $$; exec " + command).c_str(), "r")) {
        char line[32] = {};
        if (pipe_ && setvbuf(pipe_, nullptr, _IONBF, 0) == 0 && fgets(line, sizeof line, pipe_))
            pid_ = std::atoi(line);
    }
    ~Child() {
        End();
        if (pipe_)
            pclose(pipe_);
    }
    void End() {
        if (pid_ > 0)
            kill(pid_, SIGTERM);
        pid_ = -1;
    }
    int Output() const { return pipe_ ? fileno(pipe_) : -1; }

  private:
    FILE* pipe_;
    pid_t pid_ = -1;
};

// Records the null sink's monitor, mono, and puts its samples on the
// steady clock, the clock the picture events are timed on. parec hands over
// every 10 ms what the sink has just played: a chunk never arrives before
// its last sample was played, so sample 0 was played at the latest at
// (arrival - samples so far / rate); the smallest of these bounds over all
// chunks is sample 0's time, to within about one chunk.
class Recorder {
  public:
    // Returns once the recording runs: parec takes about a second to start,
    // and its stream joining the sink holds up what plays meanwhile.
    Recorder() : reader_([this] { Read(); }) {
        for (int tries = 0; tries < 500 && !receiving_; ++tries)
            std::this_thread::sleep_for(10ms);
    }
    ~Recorder() { Stop(); }
    void Stop() {
        parec_.End();
        if (reader_.joinable())
            reader_.join();
    }
    // The time of sample `index`.
    double TimeOf(size_t index) const { return start_ + static_cast<double>(index) / kRate; }
    size_t IndexAt(double time) const {
        return static_cast<size_t>(std::max(0.0, (time - start_) * kRate));
    }
    // The scene whose tone sounds in the 10 ms from sample `at` (Goertzel
    // filters on every scene's tone); -1 for silence or past the end.
    int ToneAt(size_t at) const {
        if (at + kWindow > samples_.size())
            return -1;
        int best = -1;
        double bestPower = 0.0;
        double energy = 0.0;
        for (size_t i = at; i < at + kWindow; ++i)
            energy += static_cast<double>(samples_[i]) * samples_[i];
        for (int scene = 0; scene < 5; ++scene) {
            const double w = 2.0 * std::numbers::pi * ToneHertz(scene) / kRate;
            double s1 = 0.0;
            double s2 = 0.0;
            for (size_t i = at; i < at + kWindow; ++i)
                s2 = std::exchange(s1, samples_[i] + 2.0 * std::cos(w) * s1 - s2);
            const double power = s1 * s1 + s2 * s2 - 2.0 * std::cos(w) * s1 * s2;
            if (power > bestPower)
                std::tie(best, bestPower) = std::pair(scene, power);
        }
        return energy / kWindow > 1000.0 * 1000.0 ? best : -1;
    }
    // When the tone of `scene` was first heard after `from`: the middle of
    // the first window where it prevails. Nothing when it never is.
    std::optional<double> ToneStart(int scene, double from) const {
        for (size_t at = IndexAt(from); at + kWindow <= samples_.size(); at += kWindow / 10)
            if (ToneAt(at) == scene)
                return TimeOf(at + kWindow / 2);
        return std::nullopt;
    }

  private:
    void Read() {
        std::vector<char> bytes;
        char chunk[4096];
        for (ssize_t got; (got = read(parec_.Output(), chunk, sizeof chunk)) > 0;) {
            bytes.insert(bytes.end(), chunk, chunk + got);
            receiving_ = true;
            start_ = std::min(start_, Now() - static_cast<double>(bytes.size() / 2) / kRate);
        }
        samples_.resize(bytes.size() / 2);
        std::memcpy(samples_.data(), bytes.data(), samples_.size() * 2);
    }

    Child parec_{
        "parec --raw --format=s16le --rate=48000 --channels=1 --latency-msec=10 "
        "-d trevanto.monitor"};
    double start_ = 1e300;
    std::atomic<bool> receiving_{false};
    std::vector<int16_t> samples_;
    std::thread reader_;
};

// One PulseAudio server with a null sink per test process (Qt connects to
// the server once per process), in a folder of its own.
class SoundTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        const std::string socket = *folder_ / "native";
        setenv("XDG_RUNTIME_DIR", folder_->Path().c_str(), 1);
        setenv("HOME", folder_->Path().c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
        server_ = new Child(
            "pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=false "
            "--disallow-exit --log-level=error -L 'module-null-sink sink_name=trevanto "
            "rate=48000' -L 'module-native-protocol-unix auth-anonymous=1 socket=" +
            socket + "'");
        for (int tries = 0; tries < 100 && !serverUp_; ++tries, std::this_thread::sleep_for(100ms))
            serverUp_ = std::system("pactl info >/dev/null 2>&1") == 0;
        static int argc = 1;
        static char name[] = "sound_tests";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
    static void TearDownTestSuite() {
        delete server_;
        delete folder_;
    }
    void SetUp() override {
        ASSERT_TRUE(serverUp_) << "PulseAudio did not start (ctest -LE sound leaves these out)";
    }

    // Plays until frame `last`; each picture's frame and when it was taken.
    static std::vector<std::pair<int, double>> PlayTo(MediaGraph& graph, int last) {
        std::vector<std::pair<int, double>> shown;
        graph.Run();
        GraphEvent event;
        while ((shown.empty() || shown.back().first < last) && WaitEvent(graph, event, 2s))
            if (event.code == GraphEventCode::Repaint)
                shown.emplace_back(FrameAt(graph, event.frameSeconds), Now());
        graph.Pause();
        return shown;
    }
    // When the picture cut to frame `cut`: the first frame shown from the cut
    // on, less the frames dropped before it.
    static double CutTime(const std::vector<std::pair<int, double>>& shown, int cut) {
        const auto at =
            std::ranges::find_if(shown, [cut](const auto& s) { return s.first >= cut; });
        return at == shown.end() ? 0.0 : at->second - (at->first - cut) * 0.04;
    }

    static inline TempFolder* folder_ = nullptr;
    static inline Child* server_ = nullptr;
    static inline bool serverUp_ = false;
};

TEST_F(SoundTest, ToneFollowsThePicturePausesAndSeeksWithIt) {
    OpenError error;
    const std::unique_ptr<MediaGraph> graph =
        OpenMediaGraphWithOutput({MediaPath(ToneClip())}, error, MakeQtAudioOutput);
    ASSERT_TRUE(graph) << MediaErrorText(error.cause, MediaPath(ToneClip()));
    graph->SetSoundWanted(true);
    ASSERT_TRUE(graph->HasSound());
    Recorder recorder;

    // The sound of each cut comes with its picture.
    const auto played = PlayTo(*graph, 95);
    const double paused = Now();
    std::this_thread::sleep_for(400ms);
    graph->Run();
    std::this_thread::sleep_for(300ms);
    // A seek while playing goes on with the sought scene's tone at once, not
    // with the sound buffered before it.
    graph->PutCurrentPosition(SecondsOf(*graph, 130));
    const double sought = Now();
    PlayTo(*graph, 145);
    recorder.Stop();

    const std::vector<int>& cuts = ToneClip().cuts;
    for (const int scene : {1, 2}) {
        const double cut = CutTime(played, cuts[scene - 1]);
        const std::optional<double> heard = recorder.ToneStart(scene, cut - 0.5);
        ASSERT_TRUE(heard) << "scene " << scene;
        EXPECT_NEAR(*heard, cut, 0.040) << "scene " << scene;
    }
    // Windows of 10 ms: silent while paused, then scene 3 or silent.
    for (size_t at = recorder.IndexAt(paused + 0.08); at < recorder.IndexAt(paused + 0.4);
         at += kWindow)
        ASSERT_EQ(recorder.ToneAt(at), -1) << recorder.TimeOf(at) - paused << " s after the pause";
    for (size_t at = recorder.IndexAt(sought + 0.08); at < recorder.IndexAt(sought + 0.5);
         at += kWindow)
        ASSERT_NE(recorder.ToneAt(at), 2) << recorder.TimeOf(at) - sought << " s after the seek";
    EXPECT_TRUE(recorder.ToneStart(3, sought));
}

}  // namespace
}  // namespace trevanto::test
