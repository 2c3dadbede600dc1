#include "../window_test_kit.h"
#include "app/commands/command_table.h"
#include "model/palette.h"

#include <QAction>
#include <QActionGroup>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

namespace {

struct Expected {
    QString path;
    QList<QKeySequence> keys;
};

QList<QKeySequence> standard(QKeySequence::StandardKey key)
{
    return QKeySequence::keyBindings(key);
}

QList<QKeySequence> portable(const char* keys)
{
    return {QKeySequence(QString::fromLatin1(keys))};
}

// The menu bar as the user reads it, one line per entry: the menu path, then the entry's
// text; "----" for a separator.
QList<Expected> expectedMenus()
{
    QList<QKeySequence> redo = standard(QKeySequence::Redo);
    if (!redo.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
        redo.append(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QList<Expected> rows {
        {"File/New Canvas...", standard(QKeySequence::New)},
        {"File/Presets/Hires Canvas", {}},
        {"File/Presets/Hires + Side Sprites Canvas", {}},
        {"File/Presets/Hires + Top/Bottom Sprites Canvas", {}},
        {"File/Presets/Multicolor Canvas", {}},
        {"File/Presets/Multicolor + Side Sprites Canvas", {}},
        {"File/Presets/Multicolor + Top/Bottom Sprites Canvas", {}},
        {"File/Presets/Dual Hires Canvas", {}},
        {"File/Presets/Dual Multicolor Canvas", {}},
        {"File/----", {}},
        {"File/Open...", standard(QKeySequence::Open)},
        {"File/Open Recent", {}},
        {"File/Save", standard(QKeySequence::Save)},
        {"File/Save As...", portable("Ctrl+Shift+S")},
        {"File/----", {}},
        {"File/Import Image...", {}},
        {"File/Import Sprites...", {}},
        {"File/Import Reference Image...", {}},
        {"File/----", {}},
        {"File/Convert Image...", portable("Ctrl+P")},
        {"File/----", {}},
        {"File/Export to Image As...", portable("Ctrl+Shift+P")},
        {"File/Export to Ultimate Device", portable("Ctrl+E")},
        {"File/Export to PRG File As...", portable("Ctrl+Shift+E")},
        {"File/Run in Emulator", portable("F5")},
        {"File/Save Workstages...", {}},
        {"File/----", {}},
        {"File/Print...", {}},
        {"File/----", {}},
        {"File/Exit", standard(QKeySequence::Quit)},
        {"Edit/Undo", standard(QKeySequence::Undo)},
        {"Edit/Redo", redo},
        {"Edit/Clear History", {}},
        {"Edit/----", {}},
        {"Edit/Cut", standard(QKeySequence::Cut)},
        {"Edit/Copy", standard(QKeySequence::Copy)},
        {"Edit/Paste", standard(QKeySequence::Paste)},
        {"Edit/Paste with Transparency", portable("Ctrl+Shift+V")},
        {"Edit/----", {}},
        {"Edit/Select All", standard(QKeySequence::SelectAll)},
        {"Edit/Deselect", portable("Ctrl+D")},
        {"Edit/Invert Selection", portable("Ctrl+Shift+I")},
        {"Edit/----", {}},
        {"Edit/Color Swap", portable("Alt+X")},
        {"Edit/Color Replace", portable("Alt+A")},
        {"Edit/----", {}},
        {"Edit/Transform/Flip Horizontally", portable("Ctrl+J")},
        {"Edit/Transform/Flip Vertically", portable("Ctrl+K")},
        {"Edit/----", {}},
        {"Edit/Commit Shapes", {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}},
        {"Edit/Discard Shapes", {QKeySequence(Qt::Key_Escape)}},
        {"Edit/----", {}},
        {"Edit/Settings...", {}},
        {"Options/Pen Width...", {}},
        {"Options/Round Brush", {}},
        {"Options/Square Brush", {}},
        {"Options/Pixel-Perfect Strokes", {}},
        {"Options/Anti-Aliased Strokes", {}},
        {"Options/Pressure-Widened Strokes", {}},
        {"Options/Disable Fill Preview", {}},
        {"Options/----", {}},
        {"Options/Pen Tool", portable("B")},
        {"Options/Eraser Tool", portable("E")},
        {"Options/Fill Tool", portable("G")},
        {"Options/Fill Contour Placement/Center", {}},
        {"Options/Fill Contour Placement/Outside", {}},
        {"Options/Fill Contour Placement/Inside", {}},
        {"Options/Shape Tool", portable("S")},
        {"Options/Shape/Line", {}},
        {"Options/Shape/Rectangle", {}},
        {"Options/Shape/Circle", {}},
        {"Options/Shape/Star", {}},
        {"Options/Shape/Path", {}},
        {"Options/Shape/----", {}},
        {"Options/Shape/Filled Shapes", {}},
        {"Options/Eyedropper Tool", portable("I")},
        {"Options/Pan Tool", portable("H")},
        {"Options/Rectangle Select Tool", portable("M")},
        {"Options/Lasso Select Tool", portable("L")},
        {"Options/----", {}},
        {"Options/Two-Color Texture", {}},
        {"Options/Texture Stencil", {}},
        {"Options/Symmetry/None", {}},
        {"Options/Symmetry/Horizontal", {}},
        {"Options/Symmetry/Vertical", {}},
        {"Options/Symmetry/Quadrant", {}},
        {"Options/Symmetry/Bi-Quadrant", {}},
        {"Options/Symmetry/Kaleidoscope", {}},
        {"Options/Symmetry/----", {}},
        {"Options/Symmetry/Move Axes", portable("Y")},
        {"Options/Symmetry/Reset Axes to Center", {}},
        {"Options/Symmetry/----", {}},
        {"Options/Symmetry/Apply to Flood Fill", {}},
        {"Options/Symmetry/Apply to Shapes", {}},
        {"Options/Hires Clash Resolution/Replace Overwritten Color", {}},
        {"Options/Hires Clash Resolution/Preserve Border Color", {}},
        {"Options/Hires Clash Resolution/Preserve Most-Used Color", {}},
        {"Options/Border Sprites/Top Sprites Align Left", {}},
        {"Options/Border Sprites/Top Sprites Align Right", {}},
        {"Options/Border Sprites/----", {}},
        {"Options/Border Sprites/Bottom Sprites Align Left", {}},
        {"Options/Border Sprites/Bottom Sprites Align Right", {}},
        {"Options/Border Sprites/----", {}},
        {"Options/Border Sprites/Enforce 8-Sprite Border Limit", {}},
        {"Options/Border Sprites/Flag Sprites over the Border Limit", {}},
        {"Options/Border Sprites/----", {}},
        {"Options/Border Sprites/Reduce Borders to 8 Sprites", {}},
        {"Options/----", {}},
        {"Options/Clear Screen", portable("Ctrl+L")},
        {"Options/----", {}},
        {"Options/Live Link to Ultimate Device", {}},
    };
    for (PaletteVariant variant : allPaletteVariants())
        rows.append({"Palette/" + paletteVariantName(variant), {}});
    QList<QKeySequence> zoomIn = standard(QKeySequence::ZoomIn);
    zoomIn.append(QKeySequence(QStringLiteral("Ctrl+=")));
    rows += QList<Expected> {
        {"View/Zoom In", zoomIn},
        {"View/Zoom Out", standard(QKeySequence::ZoomOut)},
        {"View/Actual Size", portable("Ctrl+0")},
        {"View/Best Fit", portable("Ctrl+Shift+0")},
        {"View/Reset Rotation", portable("Ctrl+R")},
        {"View/Reset Rotation && Best Fit", portable("Ctrl+Home")},
        {"View/----", {}},
        {"View/Show Dashboards", {QKeySequence(Qt::Key_Tab)}},
        {"View/----", {}},
        {"View/Show Reference Grids", portable("Shift+H")},
        {"View/Show Pixel Grids", portable("Shift+Z")},
        {"View/Show Safe Frames", {}},
        {"View/Show Reference Layer", {}},
        {"View/Reference Layer Opacity...", {}},
        {"View/----", {}},
        {"View/Square Pixels", {}},
        {"View/PAL Pixels", {}},
        {"View/NTSC Pixels", {}},
        {"View/Bilinear Filtering", {}},
        {"View/----", {}},
        {"View/Show Preview Window", portable("F8")},
        {"View/Preview Stays on Top", {}},
        {"View/Mirror Preview Horizontally", portable("W")},
        {"View/Enable CRT Filter in Preview Window", portable("Alt+F8")},
        {"Help/User Manual", standard(QKeySequence::HelpContents)},
        {"Help/Online User Manual", {}},
        {"Help/----", {}},
        {"Help/About", {}},
        {"Help/About Qt", {}},
    };
    return rows;
}

QString plain(const QString& title)
{
    return QString(title).remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// Every entry of the menu, submenus opened in place; the recent projects stay closed, as
// their entries are files, not commands.
void collect(QMenu* menu, const QString& path, QList<std::pair<QString, QAction*>>* out)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            out->append({path + QStringLiteral("/----"), action});
        } else if (action->menu() && plain(action->text()) != QStringLiteral("Open Recent")) {
            collect(action->menu(), path + QLatin1Char('/') + plain(action->text()), out);
        } else {
            out->append({path + QLatin1Char('/') + action->text(), action});
        }
    }
}

} // namespace

class TestCommandTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void menusFollowTheTableInTheirOrderWithTheirKeys();
    void everyCommandHasOnePlaceAndNoKeyIsShared();
};

void TestCommandTable::initTestCase()
{
    useOwnSettings(QStringLiteral("KROMEL-command-table"));
}

void TestCommandTable::menusFollowTheTableInTheirOrderWithTheirKeys()
{
    MainWindow window;
    QList<std::pair<QString, QAction*>> shown;
    QStringList titles;
    for (QAction* top : window.menuBar()->actions()) {
        titles << top->text();
        collect(top->menu(), plain(top->text()), &shown);
    }
    // The paths leave out the mnemonics, which are checked here.
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Options", "&Palette", "&View", "&Help"}));
    const QList<Expected> expected = expectedMenus();
    for (qsizetype i = 0; i < qMin(shown.size(), expected.size()); ++i) {
        QCOMPARE(shown[i].first, expected[i].path);
        if (!shown[i].first.endsWith(QStringLiteral("Open Recent")))
            QCOMPARE(shown[i].second->shortcuts(), expected[i].keys);
    }
    QCOMPARE(shown.size(), expected.size());

    // The preview window has no menu bar: the view keys it shares must reach it too.
    const QStringList eitherWindow {"View/Zoom In", "View/Zoom Out", "View/Actual Size", "View/Best Fit",
        "View/Reset Rotation && Best Fit", "View/Show Preview Window", "View/Mirror Preview Horizontally",
        "View/Enable CRT Filter in Preview Window"};
    for (const auto& [path, action] : shown) {
        const Qt::ShortcutContext context
            = eitherWindow.contains(path) ? Qt::ApplicationShortcut : Qt::WindowShortcut;
        if (action->shortcutContext() != context)
            QFAIL(qPrintable(path + QStringLiteral(" has the wrong shortcut reach")));
    }
}

// Window-only commands (the pen width steps and the sixteen pen colours) sit on the window
// and in no menu.
void TestCommandTable::everyCommandHasOnePlaceAndNoKeyIsShared()
{
    MainWindow window;
    QHash<QAction*, int> placements;
    QList<std::pair<QString, QAction*>> shown;
    for (QAction* top : window.menuBar()->actions())
        collect(top->menu(), plain(top->text()), &shown);
    for (const auto& [path, action] : shown) {
        if (!action->isSeparator())
            ++placements[action];
    }

    const std::vector<CommandRow> rows = commandTable();
    qsizetype windowOnly = 0;
    for (const CommandRow& row : rows) {
        const bool inMenus = !row.flags.testFlag(CommandFlag::WindowOnly);
        QAction* action = inMenus && row.action ? window.*row.action : nullptr;
        QList<QAction*> candidates;
        if (!inMenus)
            candidates = window.actions();
        else if (!row.action)
            candidates = row.group ? (window.*row.group)->actions() : window.*row.list;
        for (QAction* candidate : candidates) {
            if (candidate->text() == row.text)
                action = candidate;
        }
        QVERIFY2(action, qPrintable(row.text));
        QVERIFY2(placements.value(action) == (inMenus ? 1 : 0), qPrintable(row.text));
        QCOMPARE(action->shortcuts(), row.keys);
        if (!inMenus) {
            QVERIFY(action->associatedObjects().size() == 1);
            ++windowOnly;
        }
    }
    QCOMPARE(windowOnly, 18);
    // Nothing in the menus escaped the table.
    QCOMPARE(placements.size(), qsizetype(rows.size()) - windowOnly + 1); // and the recent projects submenu

    QHash<QKeySequence, QString> owners;
    for (QAction* action : window.findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            QVERIFY2(!owners.contains(key),
                qPrintable(QStringLiteral("%1 is on %2 and %3")
                               .arg(key.toString(), owners.value(key), action->text())));
            owners.insert(key, action->text());
        }
    }
}

QTEST_MAIN(TestCommandTable)
#include "tst_command_table.moc"
