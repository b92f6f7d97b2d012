#pragma once
// Makes the icons compiled into the program's resource library available
// (a static library's resources need an explicit start).
namespace trevanto {

void InitDesktopResources();

}  // namespace trevanto
