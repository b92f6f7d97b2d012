#pragma once
// Where the main window opens: where it was left, when that still fits on
// one of the screens as they are now, else at a share of the primary screen's
// available area, so that no part of it (the status bar least of all) lies
// off the screen whatever the scale factor.
#include <QList>
#include <QRect>

#include <optional>

namespace trevanto {

// The share of the available area a first window takes, in percent.
inline constexpr int kFirstWindowShare = 85;

// `saved` and the result are the window's geometry without its frame;
// `screens` the available areas of the screens, `primary` that of the
// primary screen.
QRect MainWindowGeometry(const std::optional<QRect>& saved, const QList<QRect>& screens,
                         const QRect& primary);

}  // namespace trevanto
