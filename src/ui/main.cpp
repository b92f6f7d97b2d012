// The desktop program: trevanto [video path or URL] [options].
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

#include "app/commands/command_ids.h"
#include "app/document/player_doc.h"
#include "common/temporary_file.h"
#include "trevanto_version.h"
#include "ui/help_window.h"
#include "ui/instance_channel.h"
#include "ui/main_frame.h"
#include "ui/page_snapshot.h"
#include "ui/trevanto_app.h"

namespace {

struct StartOptions {
    QString video;
    bool newWindow = false;
    QString instance;
    bool engine = false;
    QString screenshot;
    int quitAfterMs = -1;
    QStringList playRange;
    QStringList windowSize;
    QString guidePage;
};

StartOptions ParseCommandLine(QApplication& application, trevanto::AppOptions& appOptions) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Slices a video into shots and publishes their thumbnails.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("file",
                                 "A video file or stream URL to open and play, or a shots file "
                                 "(.hpv) to load. A program already running takes it over.");
    const QCommandLineOption newWindow("new-window",
                                       "Open a window of its own, even when Trevanto runs.");
    const QCommandLineOption instance(
        "instance", "Hand files over through the server <name> (default: the user's).", "name");
    const QCommandLineOption engine("engine", "Start the shot engine once the video is open.");
    const QCommandLineOption screenshot(
        "screenshot",
        "Save a picture of the window to <file> when the shot engine is done "
        "(or when the time of --quit-after-ms is up), then quit.",
        "file");
    const QCommandLineOption quitAfter("quit-after-ms", "Quit after <ms> milliseconds.", "ms");
    const QCommandLineOption unpaced("unpaced", "Deliver every frame as fast as it decodes.");
    const QCommandLineOption settings("settings", "Keep the settings in <file>.", "file");
    const QCommandLineOption playRange(
        "play-range", "Mark frames <start>,<end> of the opened video as the play range.",
        "start,end");
    const QCommandLineOption windowSize("window-size", "Give the window <width>x<height> pixels.",
                                        "size");
    const QCommandLineOption guide("guide", "Open the user guide at <page> (e.g. engine.html).",
                                   "page");
    parser.addOptions({newWindow, instance, engine, screenshot, quitAfter, unpaced, settings,
                       playRange, windowSize, guide});
    parser.process(application);

    StartOptions options;
    if (!parser.positionalArguments().isEmpty())
        options.video = parser.positionalArguments()[0];
    options.newWindow = parser.isSet(newWindow);
    options.instance =
        parser.isSet(instance) ? parser.value(instance) : trevanto::InstanceChannel::DefaultName();
    options.engine = parser.isSet(engine);
    options.screenshot = parser.value(screenshot);
    options.playRange = parser.value(playRange).split(',', Qt::SkipEmptyParts);
    options.windowSize = parser.value(windowSize).split('x', Qt::SkipEmptyParts);
    options.guidePage = parser.value(guide);
    if (parser.isSet(quitAfter))
        options.quitAfterMs = parser.value(quitAfter).toInt();
    appOptions.pacedPlayback = !parser.isSet(unpaced);
    appOptions.settingsPath = parser.value(settings).toStdString();
    return options;
}

void SaveScreenshotAndQuit(trevanto::CTrevantoApp& trevanto, const QString& file) {
    // The user guide's window when it is open, else the main window.
    QImage picture;
    if (auto* help = trevanto.Frame().findChild<trevanto::HelpWindow*>();
        help != nullptr && help->isVisible()) {
        // A page of text keeps to 256 colours: a quarter of the file.
        picture =
            help->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    } else {
        picture = trevanto.Frame().grab().toImage();
    }
    if (!file.isEmpty() && !picture.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    }
    // Nobody is there to answer whether the shots are to be saved.
    trevanto.Document().Editing().SetShotsModified(false);
    trevanto.Frame().close();
    QApplication::quit();
}

}  // namespace

int main(int argc, char* argv[]) {
    // A signal during a script download leaves no temporary file behind.
    trevanto::RemoveTemporaryFilesOnSignals();
    trevanto::PageSnapshot::PrepareApplication();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Trevanto");
    QApplication::setApplicationVersion(trevanto::kTrevantoVersion);
    QApplication::setOrganizationName("Trevanto");

    trevanto::AppOptions appOptions;
    const StartOptions options = ParseCommandLine(application, appOptions);
    // One program per user session: a running one takes the file over, as
    // the file manager expects; it is the first started without --new-window.
    trevanto::InstanceChannel channel(options.instance);
    if (!options.newWindow && !options.instance.isEmpty()) {
        if (channel.HandOver(options.video))
            return 0;
        if (!channel.Listen() && channel.HandOver(options.video))
            return 0;
    }
    trevanto::CTrevantoApp trevanto(std::move(appOptions));
    QObject::connect(&channel, &trevanto::InstanceChannel::OpenRequested, &trevanto,
                     [&trevanto](const QString& path) {
                         trevanto.ShowWindow();
                         if (!path.isEmpty())
                             trevanto.OpenDocument(path.toStdString());
                     });
    QObject::connect(&application, &QApplication::aboutToQuit, &trevanto,
                     [&trevanto] { trevanto.Exit(); });
    // A video named on the command line that cannot be opened ends the start.
    if (!trevanto.Start(options.video.toStdString()))
        return 1;

    if (options.windowSize.size() == 2)
        trevanto.Frame().resize(options.windowSize[0].toInt(), options.windowSize[1].toInt());
    if (options.playRange.size() == 2) {
        trevanto.Document().Playback().SetPlayRange(options.playRange[0].toInt(),
                                                    options.playRange[1].toInt());
    }
    if (!options.guidePage.isEmpty())
        trevanto.ShowHelp(options.guidePage.toStdString());
    if (options.engine && trevanto.Document().IsOpen()) {
        QTimer::singleShot(0, &trevanto, [&trevanto] {
            // From the first frame: Stop rewinds, the engine then plays.
            trevanto.OnCommand(trevanto::command::kStop);
            trevanto.OnCommand(trevanto::command::kEngine);
            if (trevanto.Document().Slicing().IsRunning())
                return;
        });
        if (!options.screenshot.isEmpty()) {
            auto* watch = new QTimer(&trevanto);
            QObject::connect(watch, &QTimer::timeout, &trevanto, [&trevanto, watch, options] {
                if (trevanto.Document().Slicing().IsRunning())
                    return;
                watch->stop();
                // Let the last thumbnails and panes paint before the picture.
                QTimer::singleShot(500, &trevanto, [&trevanto, options] {
                    SaveScreenshotAndQuit(trevanto, options.screenshot);
                });
            });
            QTimer::singleShot(200, watch, [watch] { watch->start(100); });
        }
    }
    if (options.quitAfterMs >= 0) {
        QTimer::singleShot(options.quitAfterMs, &trevanto, [&trevanto, options] {
            SaveScreenshotAndQuit(trevanto, options.screenshot);
        });
    }
    return QApplication::exec();
}
