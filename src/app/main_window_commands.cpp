// The window's wiring: the colour bars, and the actions and menus built from the command
// table and the menu layout in commands/. The commands' bodies live in commands/ too,
// one file per concern.

#include "app/main_window.h"

#include "app/commands/command_state.h"
#include "app/commands/command_table.h"
#include "app/commands/menu_layout.h"
#include "app/external_url_opener.h"
#include "app/live_link_controller.h"
#include "view/canvas_area.h"
#include "view/preview_window.h"
#include "widgets/palette_widget.h"
#include "widgets/texture_widget.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

void MainWindow::createColorBars()
{
    // They live on the palette dashboard over the canvas, which createDashboards builds.
    m_paletteBar = new PaletteWidget(m_project, m_canvas);
    m_colorSlotBar = new ColorAssignmentWidget(m_project, m_canvas);
    m_textureBar = new TextureWidget(m_canvas);
    connect(m_textureBar, &TextureWidget::textureSelected, m_canvas, &CanvasArea::setTexture);

    m_paletteBar->setPrimaryIndex(m_canvas->penIndex());
    m_paletteBar->setSecondaryIndex(m_canvas->secondaryIndex());
    connect(m_paletteBar, &PaletteWidget::primaryIndexSelected, m_canvas, &CanvasArea::setPenIndex);
    connect(m_paletteBar, &PaletteWidget::secondaryIndexSelected, m_canvas, &CanvasArea::setSecondaryIndex);
    connect(m_canvas, &CanvasArea::penColorsChanged, this, [this] {
        m_paletteBar->setPrimaryIndex(m_canvas->penIndex());
        m_paletteBar->setSecondaryIndex(m_canvas->secondaryIndex());
    });
    connect(m_colorSlotBar, &ColorAssignmentWidget::slotClicked, this, &MainWindow::assignColorSlot);
    connect(this, &MainWindow::documentReplaced, this, &MainWindow::followReplacedDocument);
}

void MainWindow::createActions()
{
    m_liveLink = new LiveLinkController([this]() -> const Project& { return *m_project; }, this);
    m_liveLink->followCanvas(m_canvas);
    connect(m_liveLink, &LiveLinkController::stopped, this, &MainWindow::liveLinkStopped);
    for (const CommandGroupRow& row : commandGroupTable()) {
        auto* group = new QActionGroup(this);
        this->*row.group = group;
        if (row.slot)
            connect(group, &QActionGroup::triggered, this, row.slot);
    }
    for (const CommandRow& row : commandTable()) {
        QAction* action = row.group ? (this->*row.group)->addAction(row.text) : new QAction(row.text, this);
        action->setShortcuts(row.keys);
        action->setCheckable(row.flags.testFlag(CommandFlag::Checkable));
        action->setChecked(row.flags.testFlag(CommandFlag::Checked));
        if (row.data.isValid())
            action->setData(row.data);
        if (!row.icon.isEmpty())
            action->setIcon(QIcon(QStringLiteral(":/dashboard/%1.svg").arg(row.icon)));
        if (!row.toolTip.isEmpty())
            action->setToolTip(row.toolTip);
        if (row.flags.testFlag(CommandFlag::EitherWindow))
            action->setShortcutContext(Qt::ApplicationShortcut);
        if (row.flags.testFlag(CommandFlag::WindowOnly))
            addAction(action);
        if (row.action)
            this->*row.action = action;
        if (row.list)
            (this->*row.list).append(action);
        if (row.enable != CommandEnable::Always)
            m_actionRules.emplace_back(action, row.enable);
        if (row.run) {
            const auto signal
                = row.flags.testFlag(CommandFlag::OnToggle) ? &QAction::toggled : &QAction::triggered;
            connect(action, signal, this, [this, run = row.run](bool on) { run(*this, on); });
        }
    }
    // The two radio groups that start from the canvas rather than from a fixed pick.
    checkActionWithData(m_brushShapeGroup, int(m_canvas->brush().shape()));
    checkActionWithData(m_textureModeGroup, int(m_canvas->textureMode()));

    connect(m_preview, &PreviewWindow::closedByUser, m_showPreviewAction,
        [this] { m_showPreviewAction->setChecked(false); });
    connect(this, &MainWindow::documentReplaced, this, &MainWindow::syncReferenceLayerActions);
    m_urlOpener = new ExternalUrlOpener(this);
    connect(m_urlOpener, &ExternalUrlOpener::finished, this,
        [this](const QUrl&, bool opened) { onlineUserManualOpened(opened); });
}

void MainWindow::createMenus()
{
    QList<QMenu*> open;
    for (const MenuRow& row : menuLayout()) {
        switch (row.kind) {
        case MenuRow::Kind::Menu: {
            QMenu* menu = open.isEmpty() ? new QMenu(row.title, this) : open.last()->addMenu(row.title);
            if (row.menu)
                this->*row.menu = menu;
            if (row.enable != CommandEnable::Always)
                m_menuRules.emplace_back(menu, row.enable);
            open.append(menu);
            break;
        }
        case MenuRow::Kind::End:
            open.removeLast();
            break;
        case MenuRow::Kind::Action:
            open.last()->addAction(this->*row.action);
            break;
        case MenuRow::Kind::ActionList:
            open.last()->addActions(this->*row.list);
            break;
        case MenuRow::Kind::Group:
            open.last()->addActions((this->*row.group)->actions());
            break;
        case MenuRow::Kind::Separator:
            open.last()->addSeparator();
            break;
        case MenuRow::Kind::RecentProjects: {
            QMenu* parent = open.last();
            QMenu* recent = parent->addMenu(row.title);
            connect(parent, &QMenu::aboutToShow, this, [this, recent] { updateRecentProjectsMenu(recent); });
            updateRecentProjectsMenu(recent);
            break;
        }
        }
    }
    refreshCommandStates();
    populateMenuBar(menuBar());
}

void MainWindow::populateMenuBar(QMenuBar* menuBar)
{
    for (QMenu* menu : {m_fileMenu, m_editMenu, m_optionsMenu, m_paletteMenu, m_viewMenu, m_helpMenu})
        menuBar->addMenu(menu);
}

void MainWindow::followReplacedDocument()
{
    m_paletteBar->setProject(m_project);
    m_colorSlotBar->setProject(m_project);
    // A new document starts with the solid pen and the textures of its own mode.
    refreshTextureBar();
    updateStatusBar();
    refreshUndoActions();
}
