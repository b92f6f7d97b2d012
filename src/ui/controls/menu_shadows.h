#pragma once
// Soft shadows under popup menus, below them and to their right, drawn by
// the program where the window system draws none. Two small windows follow
// each shadowed menu; they are black with an alpha that fades over 7 pixels.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QWidget;

namespace trevanto {

namespace menu_shadow {

constexpr int kDepth = 7;
enum class Side { kBottom = 0, kRight = 1 };

// The shadow's alpha at dx, dy pixels from its darkest point: 100 there,
// falling to 0 six pixels away.
int Alpha(int dx, int dy);
// The shadow bitmap of one side, black with its alpha, `opacity` 0..255.
QImage Picture(Side side, QSize size, int opacity = 255);
// Where a window's two shadows go: bottom, then right.
std::array<QRect, 2> Placement(const QRect& window);
// Whether the window system already shadows menus: a compositor on X11,
// always on Wayland, Windows and macOS; never offscreen.
bool WindowSystemShadowsMenus();

}  // namespace menu_shadow

class MenuShadows : public QObject {
    Q_OBJECT
  public:
    static constexpr size_t kMaxWindows = 128;
    static constexpr size_t kMaxFilters = 128;

    // Starts with one filter: the popup menus.
    MenuShadows();
    ~MenuShadows() override;

    // Starts watching the application's windows; false (and nothing
    // watched) when the window system shadows menus itself.
    bool Install();
    // A class name whose windows get shadows; false when the table is full.
    bool AddClassFilter(const QString& className);
    // Stops watching and destroys every shadow.
    void Remove();
    size_t WindowCount() const { return rows_.size(); }
    // The shadow windows of a watched window, or null ones.
    std::array<QWidget*, 2> ShadowsOf(const QWidget* window) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Row;
    Row* Find(const QWidget* window);
    void Update(Row& row, bool visible);

    bool installed_ = false;
    std::vector<QString> filters_;
    std::vector<std::unique_ptr<Row>> rows_;
};

}  // namespace trevanto
