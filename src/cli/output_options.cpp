#include "cli/output_options.h"

#include "app/document/player_doc.h"
#include "cli/shot_printer.h"
#include "export/shot_list_export.h"
#include "publish/option_bounds.h"

namespace trevanto::cli {

const std::vector<OptionSpec>& OutputOptionSpecs() {
    static const std::vector<OptionSpec> specs = {
        {"save", 1, "FILE.hpv", "write the shots to a shots file"},
        {"csv", 1, "FILE", "write the shot list for video editors as CSV (below)"},
        {"edl", 1, "FILE", "write the shots as a CMX 3600 EDL, one event per shot (below)"},
        {"jpeg", 0, "", "write every shot as a JPEG image image0001.jpg, ... (numbered on)"},
        {"target", 1, "PATH",
         "where --jpeg writes: a folder, or a page path whose folder exists (default: the "
         "current folder)"},
        {"shot-size", 1, "WxH", "size of the shot images with --stretch (100x80 by default)"},
        {"stretch", 0, "", "stretch the video to the shot size (else images are 100 x 80)"},
        {"publish", 1, "TARGET",
         "publish the shots: TARGET is the first page (.html), a folder, or a web archive "
         "(.mhtml); its folder is made when missing"},
        {"title", 1, "TEXT", "title of the publication (may hold keywords)"},
        {"page-template", 1, "HTML", "build the pages from this HTML template"},
        {"per-row", 1, "N", "shots per table row of the built-in page (4)"},
        {"edge", 1, "N", "border width of the built-in page's table in pixels (0)"},
        {"page-kb", 1, "N", "size budget of one built-in page in kilobytes (30)"},
        {"caption", 1, "TEXT", "caption of each shot (\"$(INDEX) / $(COUNT)\")"},
        {"no-caption", 0, "", "no captions under the shots of the built-in page"},
        {"add-file", 1, "FILE", "copy this file next to the pages (repeatable)", true},
        {"video-url", 1, "URL", "url of the online video, for video links"},
        {"asx-url", 1, "URL", "url of the ASX processing script of video links"},
        {"video-link", 1, "SHOT",
         "print the video link of shot SHOT, or of the shots FIRST-LAST, made from --asx-url "
         "and --video-url (default: the video's own url when it holds ://)"},
        {"show", 0, "", "open the first page with the desktop's default handler"},
    };
    return specs;
}

std::string OutputHelp() {
    return "Outputs (after the shots are listed): --save writes a shots file, --video-link\n"
           "prints a video link, --jpeg writes the images, --publish a web publication. The\n"
           "path of the publication's first page is printed as the last line on standard\n"
           "output.\n"
           "\n"
           "--csv writes a header row \"number,start frame,end frame,start timecode,end\n"
           "timecode,length,caption\" and one row per shot: timecodes hh:mm:ss:ff at the\n"
           "video's frame rate (hh:mm:ss;ff drop-frame at 29.97), the length in frames,\n"
           "the caption in double quotes. --edl writes \"TITLE:\" (the video's name),\n"
           "\"FCM:\" and one event per shot: reel AX, V, C, source in and out (the frame\n"
           "after the shot) and record in and out, continuous from 01:00:00:00.\n";
}

std::optional<std::pair<int, int>> ParseShotSize(const std::string& text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = ParseInteger(text.substr(0, x));
    const auto height = ParseInteger(text.substr(x + 1));
    if (!width || !height || CheckRange(BoundedOption::ShotWidth, *width) != RangeCheck::Within ||
        CheckRange(BoundedOption::ShotHeight, *height) != RangeCheck::Within) {
        return std::nullopt;
    }
    return std::make_pair(*width, *height);
}

namespace {

bool ParseCount(const ParsedArguments& arguments, const std::string& name, BoundedOption option,
                int32_t& value, std::string& error) {
    if (!arguments.Has(name))
        return true;
    const OptionRange range = RangeOf(option);
    const auto number =
        ParseNumberOption(arguments, name, range.lowest, range.highest, "a whole number", error);
    if (number)
        value = *number;
    return number.has_value();
}

// "N" or "N-M", shot numbers from 1 with N <= M.
bool ParseShotRange(const std::string& text, int32_t& first, int32_t& last) {
    const size_t dash = text.find('-', 1);
    const auto from = ParseInteger(text.substr(0, dash));
    const auto to = dash == std::string::npos ? from : ParseInteger(text.substr(dash + 1));
    if (!from || !to || *from < 1 || *to < *from)
        return false;
    first = *from;
    last = *to;
    return true;
}

// Prints the link as "Create a videolink" makes it for those shots.
ExitStatus PrintVideoLink(CliSession& session, const OutputOptions& options) {
    CPlayerDoc& doc = session.Doc();
    if (options.linkLast > doc.ShotCount()) {
        session.Err() << "trevanto-cli: there is no shot " << options.linkLast << '\n';
        return kBadArguments;
    }
    const std::string link = doc.CreateVideoLink(options.linkFirst - 1, options.linkLast - 1);
    if (link.empty())
        return kFailure;  // the user port told why
    session.Out() << link << '\n';
    session.Out().flush();
    return kSuccess;
}

}  // namespace

std::optional<OutputOptions> ParseOutputOptions(const ParsedArguments& arguments,
                                                std::string& error) {
    OutputOptions options;
    options.saveFile = arguments.Value("save");
    if (arguments.Has("save") && options.saveFile.empty()) {
        error = "--save needs a file name";
        return std::nullopt;
    }
    options.csvFile = arguments.Value("csv");
    options.edlFile = arguments.Value("edl");
    if ((arguments.Has("csv") && options.csvFile.empty()) ||
        (arguments.Has("edl") && options.edlFile.empty())) {
        error = "--csv and --edl need a file name";
        return std::nullopt;
    }
    options.jpeg = arguments.Has("jpeg");
    options.publishTarget = arguments.Value("publish");
    if (arguments.Has("publish") && options.publishTarget.empty()) {
        error = "--publish needs a target";
        return std::nullopt;
    }
    PublishOptions& publish = options.publish;
    publish.showResult = arguments.Has("show");
    options.targetGiven = arguments.Has("target");
    if (options.targetGiven)
        publish.targetFile = arguments.Value("target");
    if (arguments.Has("shot-size")) {
        const auto size = ParseShotSize(arguments.Value("shot-size"));
        if (!size) {
            error = "--shot-size needs WIDTHxHEIGHT (1 to 4096 each), not '" +
                    arguments.Value("shot-size") + "'";
            return std::nullopt;
        }
        publish.shotWidth = size->first;
        publish.shotHeight = size->second;
    }
    publish.stretchToFit = arguments.Has("stretch");
    if (arguments.Has("title"))
        publish.title = arguments.Value("title");
    if (arguments.Has("page-template")) {
        publish.useTemplate = true;
        publish.templateFile = arguments.Value("page-template");
    }
    if (!ParseCount(arguments, "per-row", BoundedOption::ShotsPerRow, publish.shotsPerRow, error) ||
        !ParseCount(arguments, "edge", BoundedOption::EdgeWidth, publish.edgeWidth, error) ||
        !ParseCount(arguments, "page-kb", BoundedOption::PageKBytes, publish.pageKBytes, error)) {
        return std::nullopt;
    }
    if (arguments.Has("caption"))
        publish.shotCaption = arguments.Value("caption");
    publish.displayCaption = !arguments.Has("no-caption");
    publish.additionalFiles = arguments.Values("add-file");
    publish.onlineVideoUrl = arguments.Value("video-url");
    publish.asxScriptUrl = arguments.Value("asx-url");
    if (arguments.Has("video-link") &&
        !ParseShotRange(arguments.Value("video-link"), options.linkFirst, options.linkLast)) {
        error = "--video-link needs a shot number or FIRST-LAST, not '" +
                arguments.Value("video-link") + "'";
        return std::nullopt;
    }
    return options;
}

bool ParseSessionOptions(const ParsedArguments& arguments, std::string& templatePath, bool& quiet,
                         OutputOptions& outputs, std::string& error) {
    templatePath = arguments.Value("template");
    quiet = arguments.Has("quiet");
    auto parsed = ParseOutputOptions(arguments, error);
    if (!parsed)
        return false;
    outputs = std::move(*parsed);
    return true;
}

ExitStatus FinishRun(CliSession& session, ExitStatus run, const OutputOptions& options) {
    PrintShots(session.Doc().Shots(), session.Out());
    if (run != kSuccess)
        return run;
    return WriteOutputs(session, options);
}

ExitStatus WriteOutputs(CliSession& session, const OutputOptions& options) {
    CPlayerDoc& doc = session.Doc();
    if (!options.saveFile.empty()) {
        session.User().SetFileAnswer(options.saveFile);
        const bool saved = doc.ShotsFile().SaveShots();
        session.User().SetFileAnswer(std::nullopt);
        if (!saved)
            return kFailure;
    }
    for (const auto& [file, kind] : {std::pair(options.csvFile, ShotListKind::Csv),
                                     std::pair(options.edlFile, ShotListKind::Edl)}) {
        if (!file.empty() && !doc.WriteShotList(file, kind))
            return kFailure;  // the user port told why
    }
    // Set now: opening a video resets the document's options.
    doc.SetPublishOptions(options.publish);
    if (options.linkFirst > 0) {
        if (const ExitStatus linked = PrintVideoLink(session, options); linked != kSuccess)
            return linked;
    }
    if (options.jpeg && doc.ShotCount() > 0) {
        std::vector<int32_t> items;
        for (int32_t item = 0; item < doc.ShotCount(); ++item)
            items.push_back(item);
        if (!doc.JpegExport().ExtractAsJpeg(std::move(items)))
            return kFailure;
        if (const ExitStatus waited =
                session.RunUntil([&doc] { return !doc.JpegExport().IsActive(); });
            waited != kSuccess) {
            return waited;
        }
        if (!doc.JpegExport().LastExportComplete())
            return kFailure;
    }
    if (options.publishTarget.empty())
        return kSuccess;
    PublishOptions publish = doc.GetPublisher().Options();
    publish.targetFile = options.publishTarget;
    doc.SetPublishOptions(publish);
    if (!doc.Publishing().Publish())
        return kFailure;
    if (const ExitStatus waited =
            session.RunUntil([&doc] { return !doc.Publishing().IsRunning(); });
        waited != kSuccess) {
        return waited;
    }
    const auto& outcome = doc.Publishing().LastOutcome();
    if (!outcome)
        return kFailure;  // the images could not all be written
    // Pages whose images could not be written are no publication.
    if (!outcome->complete || !doc.JpegExport().LastExportComplete())
        return kFailure;
    session.Out() << outcome->firstPagePath << '\n';
    session.Out().flush();
    return kSuccess;
}

}  // namespace trevanto::cli
