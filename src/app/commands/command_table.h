#pragma once

#include "app/commands/command_row.h"

#include <vector>

// Every command of the main window, in menu order (the window-only commands last), and
// its radio groups. createActions builds the actions from these rows.
std::vector<CommandRow> commandTable();
std::vector<CommandGroupRow> commandGroupTable();
