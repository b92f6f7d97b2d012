// The desktop program ended by a signal while it downloads a stream script
// named on its command line leaves no temporary file behind.
#include <gtest/gtest.h>

#include "support/signalled_download.h"

namespace trevanto::test {
namespace {

TEST(InterruptedDownload, ASignalLeavesNoTemporaryScript) {
    for (const int signal : {SIGINT, SIGTERM}) {
        const TempFolder settings;
        const QStringList arguments = {"--new-window", "--settings",
                                       QString::fromStdString(settings / "t.conf")};
        EXPECT_EQ(EndDownloadBySignal(TREVANTO_PATH, arguments, signal), "") << signal;
    }
}

}  // namespace
}  // namespace trevanto::test
