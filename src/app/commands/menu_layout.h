#pragma once

#include "app/commands/command_row.h"

#include <vector>

class QMenu;

// One line of the menu bar's layout, read top to bottom: a menu or submenu opens with
// Menu and closes with End; in between come actions, whole radio groups and separators.
struct MenuRow {
    enum class Kind { Menu, End, Action, ActionList, Group, Separator, RecentProjects };
    Kind kind {};
    QString title {};
    QAction* MainWindow::*action = nullptr;
    QList<QAction*> MainWindow::*list = nullptr;
    QActionGroup* MainWindow::*group = nullptr;
    // Where the window keeps a (sub)menu whose enabled state follows `enable`.
    QMenu* MainWindow::*menu = nullptr;
    CommandEnable enable = CommandEnable::Always;
};

// The File, Edit, Options, Palette, View and Help menus, in this order.
std::vector<MenuRow> menuLayout();
