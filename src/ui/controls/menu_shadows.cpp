#include "ui/controls/menu_shadows.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>

#ifdef TREVANTO_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace trevanto {

namespace menu_shadow {

int Alpha(int dx, int dy) {
    const auto d = static_cast<int64_t>(std::floor(std::sqrt(dx * dx + dy * dy) * 255.0 / 6.0));
    if (d > 255)
        return 0;
    return static_cast<int>(((int64_t{0x649B0000} - 101 * d * 65536) >> 24) & 0xFF);
}

QImage Picture(Side side, QSize size, int opacity) {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    const int w = size.width();
    const int h = size.height();
    const auto set = [&](int x, int y, int alpha) {
        if (opacity != 255)
            alpha = alpha * opacity / 255;
        picture.setPixel(x, y, qRgba(0, 0, 0, alpha));
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (side == Side::kRight) {
                // Below its top square each row repeats the square's last.
                set(x, y, Alpha(x, std::min(y, kDepth - 1) - (kDepth - 1)));
            } else if (x >= w - kDepth && w > 2 * kDepth - 1) {
                set(x, y, Alpha(x - (w - kDepth), y));  // the outer corner
            } else {
                set(x, y, Alpha(std::min(x, kDepth - 1) - (kDepth - 1), y));
            }
        }
    }
    return picture;
}

std::array<QRect, 2> Placement(const QRect& window) {
    const int left = window.x();
    const int top = window.y();
    const int right = window.x() + window.width();
    const int bottom = window.y() + window.height();
    return {QRect(left + 2, bottom, right - left + 5, kDepth),
            QRect(right, top + 5, kDepth, std::max(0, bottom - top - 5))};
}

bool WindowSystemShadowsMenus() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal" || platform == "vnc" ||
        platform == "linuxfb" || platform == "eglfs") {
        return false;
    }
    if (platform != "xcb")
        return true;  // Wayland, Windows and macOS compositors shadow menus
#ifdef TREVANTO_HAVE_XCB
    // A compositing manager owns the _NET_WM_CM_S<screen> selection.
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    bool composited = true;  // when it cannot be asked: never two shadows
    if (xcb_connection_has_error(connection) == 0) {
        const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()),
            nullptr);
        if (atom != nullptr) {
            xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
                connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
            composited = owner == nullptr || owner->owner != XCB_NONE;
            std::free(owner);
            std::free(atom);
        }
    }
    xcb_disconnect(connection);
    return composited;
#else
    return true;
#endif
}

}  // namespace menu_shadow

namespace {

using menu_shadow::Side;

// One shadow: transparent to the mouse, never active, painted from its
// bitmap over what the screen showed beneath it.
class ShadowWindow : public QWidget {
  public:
    ShadowWindow(Side side, QWidget* owner)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                               Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
          side_(side) {
        setObjectName("menuShadow");
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        if (owner != nullptr)
            setScreen(owner->screen());
    }
    // Takes the place; what lies beneath is kept, for a window system that
    // cannot blend windows.
    void Place(const QRect& rect) {
        hide();
        background_ = QPixmap();
        if (QScreen* screen = QGuiApplication::screenAt(rect.center())) {
            const QPoint origin = rect.topLeft() - screen->geometry().topLeft();
            background_ =
                screen->grabWindow(0, origin.x(), origin.y(), rect.width(), rect.height());
        }
        setGeometry(rect);
        picture_ = menu_shadow::Picture(side_, rect.size());
        show();
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (background_.size() == size())
            painter.drawPixmap(0, 0, background_);
        else
            painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(0, 0, picture_);
    }

  private:
    Side side_;
    QPixmap background_;
    QImage picture_;
};

}  // namespace

struct MenuShadows::Row {
    QPointer<QWidget> window;
    QRect rect;
    bool visible = false;
    std::unique_ptr<ShadowWindow> bottom;
    std::unique_ptr<ShadowWindow> right;
};

MenuShadows::MenuShadows() : filters_{"QMenu"} {}

MenuShadows::~MenuShadows() {
    Remove();
}

bool MenuShadows::Install() {
    if (installed_ || menu_shadow::WindowSystemShadowsMenus())
        return false;
    qApp->installEventFilter(this);
    installed_ = true;
    return true;
}

bool MenuShadows::AddClassFilter(const QString& className) {
    if (filters_.size() >= kMaxFilters)
        return false;
    filters_.push_back(className);
    return true;
}

void MenuShadows::Remove() {
    if (installed_)
        qApp->removeEventFilter(this);
    installed_ = false;
    rows_.clear();
    filters_.clear();
}

std::array<QWidget*, 2> MenuShadows::ShadowsOf(const QWidget* window) const {
    for (const auto& row : rows_) {
        if (row->window == window)
            return {row->bottom.get(), row->right.get()};
    }
    return {nullptr, nullptr};
}

MenuShadows::Row* MenuShadows::Find(const QWidget* window) {
    for (const auto& row : rows_) {
        if (row->window == window)
            return row.get();
    }
    return nullptr;
}

bool MenuShadows::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide && type != QEvent::Move &&
        type != QEvent::Resize) {
        return false;
    }
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || !window->isWindow() || dynamic_cast<ShadowWindow*>(window) != nullptr)
        return false;
    Row* row = Find(window);
    if (row == nullptr) {
        const bool wanted = std::ranges::any_of(filters_, [window](const QString& name) {
            return window->inherits(name.toLatin1().constData());
        });
        if (type != QEvent::Show || !wanted || rows_.size() >= kMaxWindows)
            return false;
        rows_.push_back(std::make_unique<Row>());
        row = rows_.back().get();
        row->window = window;
        connect(window, &QObject::destroyed, this, [this, window] {
            std::erase_if(rows_, [window](const auto& r) {
                return r->window == nullptr || r->window == window;
            });
        });
    }
    Update(*row, type == QEvent::Hide ? false : window->isVisible());
    return false;  // the window handles its events as ever
}

void MenuShadows::Update(Row& row, bool visible) {
    if (!visible) {
        row.bottom.reset();
        row.right.reset();
        row.visible = false;
        return;
    }
    const QRect rect = row.window->geometry();
    if (!row.visible) {
        row.bottom = std::make_unique<ShadowWindow>(Side::kBottom, row.window);
        row.right = std::make_unique<ShadowWindow>(Side::kRight, row.window);
        row.visible = true;
    } else if (rect == row.rect) {
        return;
    }
    row.rect = rect;
    const std::array<QRect, 2> places = menu_shadow::Placement(rect);
    row.bottom->Place(places[0]);
    row.right->Place(places[1]);
}

}  // namespace trevanto
