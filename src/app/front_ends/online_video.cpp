#include "app/front_ends/online_video.h"

#include <QDir>

#include <set>

#include "app/messages/shots_file_messages.h"
#include "common/regular_file.h"
#include "common/temporary_file.h"
#include "online/xml_reader.h"

namespace trevanto {
namespace {

enum class ScriptText { Read, NotScript, Stop };

// The script's bytes, from a local file or downloaded into a temporary
// "~ASX" file of the system's temporary folder that goes when it is read, or
// when a signal ends the program meanwhile.
ScriptText ReadScript(const std::string& url, bool knownScript, OnlineVideoPort& port,
                      UserPort& user, std::string& bytes) {
    ScriptFetch fetched = ScriptFetch::Done;
    if (ClassifyUrl(url) == UrlKind::LocalFile) {
        // Reading stops at the bound; an unreadable script reads as empty.
        if (ReadRegularFile(url, bytes, kMaxScriptBytes) == FileReadStatus::kTooLarge)
            fetched = ScriptFetch::TooLarge;
    } else {
        // The prefix "~ASX", then a unique part.
        const TemporaryFile file(QDir::tempPath().toStdString(), "~ASX_", ".tmp");
        fetched = file.Path().empty()
                      ? ScriptFetch::Failed
                      : port.FetchScript(ScriptDownloadUrl(url), file.Path(), !knownScript);
        if (fetched == ScriptFetch::Done &&
            ReadRegularFile(file.Path(), bytes, kMaxScriptBytes) == FileReadStatus::kTooLarge)
            fetched = ScriptFetch::TooLarge;
    }
    switch (fetched) {
        case ScriptFetch::Done:
            return ScriptText::Read;
        case ScriptFetch::NotScript:
            return ScriptText::NotScript;
        case ScriptFetch::Failed:
            // A direct URL that did not answer is the player's to report.
            if (!knownScript)
                return ScriptText::NotScript;
            user.ShowMessage(message::kScriptUnreachable);
            return ScriptText::Stop;
        case ScriptFetch::TooLarge:
            user.ShowMessage(message::kScriptTooLarge);
            return ScriptText::Stop;
        case ScriptFetch::TimedOut:
            // Asked only for its type, the URL is no script by its name: a
            // video whose server is slow is not called a script.
            user.ShowMessage(knownScript ? message::kScriptTimedOut
                                         : OpenFailureMessage(OpenFailure::NoAnswer));
            return ScriptText::Stop;
        case ScriptFetch::Cancelled:
            return ScriptText::Stop;
    }
    return ScriptText::Stop;
}

}  // namespace

std::optional<std::string> ResolveOnlineVideo(const std::string& entered, OnlineVideoPort& port,
                                              UserPort& user) {
    std::string url = entered;
    std::set<std::string> scriptsRead;
    for (int32_t depth = 0;; ++depth) {
        const UrlKind kind = ClassifyUrl(url);
        if (kind == UrlKind::Refused) {
            user.ShowMessage(message::kUrlRefused + url);
            return std::nullopt;
        }
        const bool script = IsScriptUrl(url);
        // Only the entered URL is asked for its content type; a stream chosen
        // from a script is a script only by its name.
        // Only http serves scripts under any name; mms, rtsp and rtmp
        // streams go to the player as they are.
        if (!script && (kind != UrlKind::Http || depth > 0))
            return url;
        if (depth >= kMaxScriptNesting || !scriptsRead.insert(url).second) {
            user.ShowMessage(message::kScriptsWithoutEnd);
            return std::nullopt;
        }
        std::string bytes;
        const ScriptText read = ReadScript(url, script, port, user, bytes);
        if (read == ScriptText::NotScript)
            return url;
        if (read == ScriptText::Stop)
            return std::nullopt;
        // A binary file is no script, and the reader would stop at its first NUL.
        if (bytes.find('\0') != std::string::npos) {
            user.ShowMessage(message::kScriptNotText);
            return std::nullopt;
        }
        const std::string text = JoinScriptLines(bytes);
        if (text.empty()) {
            user.ShowMessage(message::kScriptEmpty);
            return std::nullopt;
        }
        XmlParseResult parsed = ParseXml(text);
        if (!parsed.root) {
            port.ReportMalformedScript(parsed.diagnostic);
            return std::nullopt;
        }
        port.Trace(DumpXmlTree(parsed.root.get(), 0));
        const std::vector<ScriptStream> streams = CollectStreams(XmlNodeRef(parsed.root.get()));
        parsed.root.reset();
        const std::optional<std::string> chosen = port.ChooseTitledStream(streams);
        if (!chosen)
            return std::nullopt;
        url = *chosen;
    }
}

}  // namespace trevanto
