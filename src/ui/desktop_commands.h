#pragma once
// The desktop program's one command table: what the menus, the toolbar, the
// status-bar prompts, the accelerators and the context menus show of each
// command, and what choosing it does. When a command can be chosen is the
// document's rule (app/commands/command_rules.h).
#include <cstdint>
#include <span>

namespace trevanto {

class CTrevantoApp;

struct DesktopCommand {
    int32_t id;
    const char* text;
    // "status bar text\ntooltip"; either part may be missing.
    const char* prompt;
    const char* icon;
    const char* shortcut;
    bool checkable;
    // Null for the features still to come.
    void (*run)(CTrevantoApp& app, int32_t id);
};

std::span<const DesktopCommand> DesktopCommands();
// Null for an id that is not in the table.
const DesktopCommand* FindDesktopCommand(int32_t id);
// The commands of the thumbnail view's context menus: the view's own, with
// keys that work in the view.
bool IsThumbViewCommand(int32_t id);

}  // namespace trevanto
