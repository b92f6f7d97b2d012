#include "app/settings_store.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace trevanto {
namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    std::string SettingsPath() const { return (folder_.path() + "/trevanto.conf").toStdString(); }
    QTemporaryDir folder_;
};

TEST_F(SettingsStoreTest, RecentFilesKeepFourMostRecentFirstAcrossRestarts) {
    {
        SettingsStore store(SettingsPath());
        for (const char* path : {"/v/a.mpg", "/v/b.mpg", "/v/c.mpg", "/v/d.mpg", "/v/e.mpg"}) {
            store.AddRecentFile(path);
        }
        store.AddRecentFile("/v/c.mpg");  // moves to the top, no duplicate
    }
    SettingsStore again(SettingsPath());
    EXPECT_EQ(again.RecentFiles(),
              (std::vector<std::string>{"/v/c.mpg", "/v/e.mpg", "/v/d.mpg", "/v/b.mpg"}));
    again.RemoveRecentFile("/v/e.mpg");
    EXPECT_EQ(again.RecentFiles(), (std::vector<std::string>{"/v/c.mpg", "/v/d.mpg", "/v/b.mpg"}));
}

TEST_F(SettingsStoreTest, UrlHistoryRoundTripsUnderTheRegistryNames) {
    {
        SettingsStore store(SettingsPath());
        store.SaveUrlHistory({{"a", "b", "c", "d"}, "d"});
        store.SaveUrlHistory({{"first", "second"}, "now"});  // shorter: no older entry stays
    }
    SettingsStore again(SettingsPath());
    EXPECT_EQ(again.LoadUrlHistory().entries, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(again.LoadUrlHistory().current, "now");
    QSettings raw(QString::fromStdString(SettingsPath()), QSettings::NativeFormat);
    raw.beginGroup("SOFTWARE/Qelvar/Trevanto/options/urls");
    EXPECT_EQ(raw.value("urls1").toString(), "second");
    EXPECT_EQ(raw.value("Default").toString(), "now");
}

TEST_F(SettingsStoreTest, UrlHistoryLoadsInNumericOrderOfTheValueNames) {
    {
        QSettings raw(QString::fromStdString(SettingsPath()), QSettings::NativeFormat);
        raw.beginGroup("SOFTWARE/Qelvar/Trevanto/options/urls");
        for (int i = 11; i >= 0; --i)
            raw.setValue(QString("urls%1").arg(i), QString("u%1").arg(i));
    }
    SettingsStore store(SettingsPath());
    const UrlHistoryValues history = store.LoadUrlHistory();
    ASSERT_EQ(history.entries.size(), 12u);
    for (size_t i = 0; i < history.entries.size(); ++i) {
        EXPECT_EQ(history.entries[i], "u" + std::to_string(i));
    }
    EXPECT_EQ(history.current, "");
}

TEST_F(SettingsStoreTest, BarLayoutAndDockSizesSurviveARestart) {
    {
        SettingsStore store(SettingsPath());
        EXPECT_FALSE(store.LoadBarLayout().has_value());
        EXPECT_FALSE(store.LoadDockSizes(123).has_value());
        store.SaveBarLayout({QByteArray("\x01\x02state", 7), {"toolbar", "preview"}});
        store.SaveDockSizes(123, {1, 2, 3, 4, 5, 6});
    }
    SettingsStore again(SettingsPath());
    const auto layout = again.LoadBarLayout();
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->state, QByteArray("\x01\x02state", 7));
    EXPECT_EQ(layout->barNames, (std::vector<std::string>{"toolbar", "preview"}));
    EXPECT_EQ(again.LoadDockSizes(123), (DockSizes{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(again.LoadDockSizes(124).has_value());
}

}  // namespace
}  // namespace trevanto
