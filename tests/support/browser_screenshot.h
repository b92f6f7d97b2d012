#pragma once
// Headless Chromium for the tests that check what a page or web archive
// really shows: a screenshot of it, and the pixels of one colour in it.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace trevanto::test {

inline constexpr const char* kChromium = "/usr/bin/chromium";

// Pixels of the screenshot within a small distance of the colour.
inline int CountPixelsNear(const QImage& screenshot, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < screenshot.height(); ++y) {
        for (int x = 0; x < screenshot.width(); ++x) {
            const QColor pixel = screenshot.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) < 40 &&
                     std::abs(pixel.green() - colour.green()) < 40 &&
                     std::abs(pixel.blue() - colour.blue()) < 40;
        }
    }
    return count;
}

// An 800 x 600 screenshot of the page, made with `folder` for the browser's
// profile and picture; null (and a failure) when the browser did not make one.
inline QImage Screenshot(const std::string& folder, const std::string& page) {
    const std::string png = folder + "/screenshot.png";
    std::filesystem::remove(png);
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::MergedChannels);
    chromium.start(kChromium, {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                               "--no-first-run", "--disable-background-networking",
                               "--disable-component-update", "--disable-sync",
                               QString::fromStdString("--user-data-dir=" + folder + "/profile"),
                               QString::fromStdString("--screenshot=" + png),
                               "--window-size=800,600", QString::fromStdString("file://" + page)});
    if (!chromium.waitForFinished(90000)) {
        chromium.kill();
        chromium.waitForFinished();
        ADD_FAILURE() << "chromium did not finish";
        return {};
    }
    QImage shot(QString::fromStdString(png));
    EXPECT_FALSE(shot.isNull()) << chromium.readAll().toStdString();
    return shot;
}

}  // namespace trevanto::test
