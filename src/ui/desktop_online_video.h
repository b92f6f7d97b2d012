#pragma once
// The desktop's side of opening an online video: the script is downloaded
// under the wait cursor, with a progress dialog that can cancel it when it
// takes long; the user picks a stream in StreamEntryDialog (through the
// user port, so that tests can answer).
#include <QPointer>
#include <QWidget>

#include "app/front_ends/online_video.h"
#include "ui/desktop_user_port.h"

namespace trevanto {

class DesktopOnlineVideo : public OnlineVideoPort {
  public:
    DesktopOnlineVideo(QWidget* owner, DesktopUserPort& user) : owner_(owner), user_(user) {}

    ScriptFetch FetchScript(const std::string& url, const std::string& filePath,
                            bool onlyScript) override;
    std::optional<std::string> ChooseStream(const std::vector<std::string>& streams) override;
    std::optional<std::string> ChooseTitledStream(
        const std::vector<ScriptStream>& streams) override;
    void Trace(const std::string& text) override;

  private:
    QPointer<QWidget> owner_;
    DesktopUserPort& user_;
};

}  // namespace trevanto
