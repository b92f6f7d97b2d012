#include "ui/desktop_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside of any namespace.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace trevanto {

void InitDesktopResources() {
    static const bool done = [] {
        InitIconResources();
        return true;
    }();
    (void)done;
}

}  // namespace trevanto
