#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>

#include <algorithm>
#include <utility>

#include "video/qt_audio_output.h"

#include "video/open_media_graph.h"

namespace trevanto {
namespace {

// What the sink buffers ahead of what is heard: enough to ride out a busy
// machine, short enough that volume changes are heard soon.
constexpr int kBufferMilliseconds = 150;

// QAudioSink's PulseAudio backend runs on timers, so the sink lives on a
// thread of its own with an event loop; every call is carried there and
// waited for.
class QtAudioOutput final : public AudioOutput {
  public:
    QtAudioOutput() {
        thread_.setObjectName("trevanto-sound");
        context_.moveToThread(&thread_);
        // An event loop needs the application object; without one there is
        // no device (Open fails) and nothing to carry.
        if (QCoreApplication::instance())
            thread_.start();
    }
    ~QtAudioOutput() override {
        OnSinkThread([this] {
            delete sink_;
            sink_ = nullptr;
        });
        thread_.quit();
        thread_.wait();
    }

    bool Open(AudioFormat& format) override {
        if (!thread_.isRunning())
            return false;
        // Devices are listed on the caller's thread: the media backend is
        // made once per process, on the first thread that asks.
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false;
        QAudioFormat wanted = device.preferredFormat();
        wanted.setSampleFormat(QAudioFormat::Int16);
        wanted.setChannelCount(std::min(std::max(wanted.channelCount(), 1), 2));
        if (wanted.sampleRate() <= 0)
            wanted.setSampleRate(48000);
        if (!device.isFormatSupported(wanted))
            return false;
        format = {wanted.sampleRate(), wanted.channelCount()};
        OnSinkThread([&] {
            sink_ = new QAudioSink(device, wanted);
            sink_->setBufferSize(wanted.bytesForDuration(kBufferMilliseconds * 1000));
            sink_->setVolume(volume_);
        });
        return Start();
    }
    bool Start() override {
        bool started = false;
        OnSinkThread([&] {
            if (!sink_)
                return;
            sink_->stop();
            io_ = sink_->start();
            started = io_ != nullptr && sink_->error() == QAudio::NoError;
        });
        return started;
    }
    void Stop() override {
        OnSinkThread([&] {
            if (sink_)
                sink_->stop();
            io_ = nullptr;
        });
    }
    size_t Writable() override {
        qsizetype free = 0;
        OnSinkThread([&] { free = io_ ? sink_->bytesFree() : 0; });
        return static_cast<size_t>(std::max<qsizetype>(free, 0));
    }
    size_t Write(const int16_t* samples, size_t bytes) override {
        qint64 written = 0;
        OnSinkThread([&] {
            if (io_)
                written =
                    io_->write(reinterpret_cast<const char*>(samples), static_cast<qint64>(bytes));
        });
        return static_cast<size_t>(std::max<qint64>(written, 0));
    }
    double HeardSeconds() override {
        qint64 micros = 0;
        OnSinkThread([&] { micros = io_ ? sink_->processedUSecs() : 0; });
        return static_cast<double>(micros) / 1e6;
    }
    void SetVolume(double level) override {
        // The level is as heard; the sink scales the samples linearly.
        level =
            QAudio::convertVolume(level, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale);
        OnSinkThread([&] {
            volume_ = level;
            if (sink_)
                sink_->setVolume(level);
        });
    }

  private:
    template <class Work>
    void OnSinkThread(Work&& work) {
        if (!thread_.isRunning())
            return;
        QMetaObject::invokeMethod(&context_, std::forward<Work>(work),
                                  Qt::BlockingQueuedConnection);
    }

    QThread thread_;
    QObject context_;  // lives on thread_: calls queued to it run there
    // On thread_ only.
    QAudioSink* sink_ = nullptr;
    QIODevice* io_ = nullptr;
    double volume_ = 1.0;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeQtAudioOutput() {
    return std::make_unique<QtAudioOutput>();
}

std::unique_ptr<MediaGraph> OpenMediaGraphWithSound(const OpenRequest& request, OpenError& error) {
    return OpenMediaGraphWithOutput(request, error, MakeQtAudioOutput);
}

}  // namespace trevanto
