#pragma once

// What the window tests share: a settings store of the test's own, a window that never
// stops on a question, the status bar's message as the user reads it, and whole files.
#include "app/main_window.h"
#include "app/status_bar_panel.h"
#include "document/project.h"
#include "support/file_size_limit.h"
#include "view/canvas_area.h"
#include "widgets/elided_label.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A settings store of the test's own, in a folder that goes with the test process, so
// that even a test run by hand, outside its test home, never touches the user's settings.
inline void useOwnSettings(const QString& application)
{
    static const QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCoreApplication::setOrganizationName(QStringLiteral("kromelstudio-test"));
    QCoreApplication::setApplicationName(application);
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
}

// A window that drops unsaved changes without asking and collects its warnings in
// `warnings`, so no modal box waits for a click.
inline std::unique_ptr<MainWindow> quietWindow(QStringList* warnings)
{
    auto window = std::make_unique<MainWindow>();
    window->documentPrompts().askToSaveChanges = [] { return SaveChangesAnswer::Discard; };
    window->documentPrompts().warn = [warnings](const QString& text) { warnings->append(text); };
    return window;
}

// One undoable edit of the whole picture, as the canvas reports a finished stroke.
inline void editDocument(MainWindow& window, uchar index)
{
    window.project().clearCanvas(index);
    window.canvasArea()->notifyHistoryChanged();
}

// The whole message, however much of it the status bar has room to show.
inline QString statusMessage(const MainWindow& window)
{
    return window.findChild<StatusBarPanel*>()->messageLabel()->fullText();
}
