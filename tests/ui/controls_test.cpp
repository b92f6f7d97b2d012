// The program's own controls: the navigation slider's geometry, painting,
// mouse, drag timer and keys; the shadows under menus.
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>

#include <tuple>
#include <vector>

#include "desktop_fixture.h"
#include "ui/controls/menu_shadows.h"
#include "ui/controls/my_slider_ctrl.h"
#include "ui/controls/sizing_control_bar.h"

namespace trevanto::test {
namespace {

using Seek = std::tuple<int, int, bool>;

TEST(SliderGeometry, ThumbAndMarksStayInsideAndFollowThePosition) {
    using namespace slider_geometry;
    const struct {
        int width, position, thumbLeft, markX;
    } cases[] = {{620, 16384, 300, 310}, {620, 0, 0, 0},      {620, 32767, 599, 619},
                 {200, 32767, 179, 199}, {200, 8192, 45, 50}, {20, 32767, 0, 19}};
    for (const auto& c : cases) {
        EXPECT_EQ(ThumbLeft(c.width, c.position, 32768), c.thumbLeft)
            << c.width << " " << c.position;
        EXPECT_EQ(MarkX(c.width, c.position, 32768), c.markX) << c.width << " " << c.position;
    }
    EXPECT_EQ(PositionAt(310, 620, 32767), 16383);
    EXPECT_EQ(PositionAt(-5, 620, 32767), 0);
    EXPECT_EQ(PositionAt(700, 620, 32767), 32767);
}

struct SliderTest : DesktopTest {
    SliderTest() {
        QPalette colours = slider.palette();
        colours.setColor(QPalette::Light, Qt::white);
        colours.setColor(QPalette::Shadow, Qt::black);
        slider.setPalette(colours);
        slider.SetRange(0, 32767);
        slider.resize(620, 30);
        slider.show();
        QObject::connect(&slider, &CMySliderCtrl::SeekFromSlider,
                         [this](int position, int range, bool force) {
                             seeks.emplace_back(position, range, force);
                         });
    }
    CMySliderCtrl slider;
    std::vector<Seek> seeks;
};

TEST_F(SliderTest, MarksAreRedBracketsUnderTheThumbAndTheThumbLooksPressedWhileDragged) {
    slider.SetPos(16384);  // thumb centre (310, 15)
    slider.SetStartMark(8192);
    slider.SetEndMark(24576);
    const QRgb red = qRgb(255, 0, 0);
    QImage image = slider.Render();
    EXPECT_EQ(image.pixel(155, 15), red);
    EXPECT_EQ(image.pixel(157, 10), red);  // the start bracket opens to the right
    EXPECT_EQ(image.pixel(465, 15), red);
    EXPECT_EQ(image.pixel(463, 20), red);
    EXPECT_EQ(image.pixel(310, 15), qRgb(0, 0, 0));
    EXPECT_GT(qGray(image.pixel(301, 15)), 200);  // the ring's lit left side
    slider.SetStartMark(-1);
    slider.SetEndMark(16384);                                   // under the thumb
    QTest::mousePress(&slider, Qt::LeftButton, {}, {311, 15});  // position 16435
    image = slider.Render();
    EXPECT_NE(image.pixel(155, 15), red);
    EXPECT_EQ(image.pixel(310, 15), qRgb(0, 0, 0));
    EXPECT_LT(qGray(image.pixel(301, 15)), 60);
}

TEST_F(SliderTest, ADragSeeksAsTheThumbMovesAndTheReleaseForcesTheLastSeek) {
    QTest::mousePress(&slider, Qt::LeftButton, {}, {310, 15});
    EXPECT_TRUE(slider.IsDragging() && slider.DragTimerActive() && slider.focusWidget() == &slider);
    slider.SetPos(0);  // playback cannot move the thumb under the mouse
    EXPECT_EQ(slider.GetPos(), 16383);
    QApplication::processEvents();
    QTest::mouseMove(&slider, {155, 15});
    QApplication::processEvents();
    slider.OnDragTimer();
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, {465, 15});
    EXPECT_FALSE(slider.IsDragging() || slider.DragTimerActive());
    QApplication::processEvents();
    const std::vector<Seek> expected = {{16383, 32767, false}, {8191, 32767, false},
                                        {8191, 32767, false},  {24575, 32767, false},
                                        {24575, 32767, false}, {24575, 32767, true}};
    EXPECT_EQ(seeks, expected);
    slider.SetPos(40000);
    EXPECT_EQ(slider.GetPos(), 32767);
    QTest::mousePress(&slider, Qt::LeftButton, {}, {155, 15});
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);  // a message box came up
    QApplication::sendEvent(&slider, &lost);
    slider.SetPos(0);
    EXPECT_EQ(slider.GetPos(), 0);
    EXPECT_FALSE(slider.DragTimerActive());
}

TEST_F(SliderTest, KeysAskForOneStepEachWhenReleased) {
    using Step = CMySliderCtrl::Step;
    std::vector<Step> steps;
    QObject::connect(&slider, &CMySliderCtrl::StepRequested,
                     [&steps](Step step) { steps.push_back(step); });
    const struct {
        Qt::Key key;
        Step step;
    } cases[] = {{Qt::Key_Left, Step::LineBack},     {Qt::Key_Up, Step::LineBack},
                 {Qt::Key_Right, Step::LineForward}, {Qt::Key_Down, Step::LineForward},
                 {Qt::Key_PageUp, Step::PageBack},   {Qt::Key_PageDown, Step::PageForward},
                 {Qt::Key_Home, Step::First},        {Qt::Key_End, Step::Last}};
    for (const auto& c : cases) {
        slider.SetPos(5000);
        steps.clear();
        seeks.clear();
        QTest::keyPress(&slider, c.key);
        EXPECT_TRUE(steps.empty()) << c.key;
        QKeyEvent repeat(QEvent::KeyRelease, c.key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&slider, &repeat);
        QTest::keyRelease(&slider, c.key);
        QApplication::processEvents();
        EXPECT_EQ(steps, std::vector<Step>{c.step}) << c.key;
        // The thumb follows the frame shown, not the key.
        EXPECT_EQ(slider.GetPos(), 5000) << c.key;
        EXPECT_TRUE(seeks.empty()) << c.key;
    }
}

TEST_F(DesktopTest, TheGrippersCloseButtonHidesTheBarOnRelease) {
    QMainWindow frame;
    auto* bar = new CSizingControlBarG("Bar", &frame, 1);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.show();
    QWidget* gripper = bar->titleBarWidget();
    const QPoint close(gripper->width() - 6, 5);
    QTest::mousePress(gripper, Qt::LeftButton, {}, close);
    EXPECT_TRUE(bar->isVisible());
    QTest::mouseRelease(gripper, Qt::LeftButton, {}, close);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->minimumSize(), QSize(33, 32));
}

TEST(MenuShadow, FadesFromAHundredToNothingOverSixPixelsAndRepeatsAlongTheBands) {
    using namespace menu_shadow;
    const struct { int dx, dy, alpha; } alphas[] = {{0, 0, 100}, {3, 0, 50}, {0, -6, 0}, {7, 7, 0}};
    for (const auto& c : alphas)
        EXPECT_EQ(Alpha(c.dx, c.dy), c.alpha) << c.dx << "," << c.dy;
    const QImage right = Picture(Side::kRight, {7, 20});
    const QImage bottom = Picture(Side::kBottom, {30, 7}, 128);
    const struct {
        const QImage& picture;
        int x, y, alpha;
    } pixels[] = {{right, 0, 6, 100}, {right, 0, 15, 100}, {right, 0, 0, 0},
                  {right, 6, 15, 0},  {bottom, 6, 0, 50},  {bottom, 15, 0, 50},
                  {bottom, 0, 0, 0},  {bottom, 23, 0, 50}, {bottom, 15, 6, 0}};
    for (const auto& c : pixels)
        EXPECT_EQ(qAlpha(c.picture.pixel(c.x, c.y)), c.alpha) << c.x << "," << c.y;
}

TEST_F(DesktopTest, AShownMenuHasTwoShadowsThatGoWhenItHides) {
    MenuShadows shadows;
    ASSERT_TRUE(shadows.Install());  // offscreen: no window system shadows
    QMenu menu;
    menu.addAction("Play");
    menu.popup({100, 100});
    QApplication::processEvents();
    const auto [bottom, right] = shadows.ShadowsOf(&menu);
    ASSERT_TRUE(bottom != nullptr && right != nullptr);
    const QRect area = menu.geometry();
    EXPECT_EQ(bottom->geometry(), QRect(area.x() + 2, area.bottom() + 1, area.width() + 5, 7));
    EXPECT_EQ(right->geometry(), QRect(area.right() + 1, area.y() + 5, 7, area.height() - 5));
    menu.hide();
    EXPECT_EQ(shadows.ShadowsOf(&menu)[0], nullptr);
    for (int i = 1; i < 128; ++i)
        EXPECT_TRUE(shadows.AddClassFilter(QString("Class%1").arg(i)));
    EXPECT_FALSE(shadows.AddClassFilter("OneTooMany"));
}

}  // namespace
}  // namespace trevanto::test
