#include "ui/window_placement.h"

namespace trevanto {

QRect MainWindowGeometry(const std::optional<QRect>& saved, const QList<QRect>& screens,
                         const QRect& primary) {
    if (saved && saved->isValid()) {
        for (const QRect& screen : screens) {
            if (screen.contains(*saved))
                return *saved;
        }
    }
    QRect window(0, 0, primary.width() * kFirstWindowShare / 100,
                 primary.height() * kFirstWindowShare / 100);
    window.moveCenter(primary.center());
    return window;
}

}  // namespace trevanto
