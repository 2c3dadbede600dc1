#include "app/menu_translucency.h"

#include <QEvent>
#include <QMenu>

MenuTranslucency::MenuTranslucency(QObject* parent)
    : QObject(parent)
{
}

// Polish arrives once, before the menu's first show, which is early enough for the
// window to be created with an alpha channel.
bool MenuTranslucency::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            menu->setWindowFlags(menu->windowFlags() | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
            menu->setAttribute(Qt::WA_TranslucentBackground);
        }
    }
    return QObject::eventFilter(watched, event);
}
