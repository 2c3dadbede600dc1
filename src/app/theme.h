#pragma once

class QApplication;

// The dark look of the whole program: the Fusion style, a dark palette for everything the
// style sheet does not reach (custom-painted widgets read it), the style sheet, and
// translucent menus for the sheet's rounded menu frames.
namespace theme {

void apply(QApplication& app);

} // namespace theme
