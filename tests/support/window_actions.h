#pragma once

#include <QAction>
#include <QObject>
#include <QString>

#include <cstdlib>

// The window's action with this text; a test naming one that does not exist stops at once.
inline QAction* findAction(const QObject& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no action %s", qPrintable(text));
    std::abort();
}
