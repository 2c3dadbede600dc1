#include "app/application_input_blocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

ApplicationInputBlocker::ApplicationInputBlocker(QWidget* allowed)
    : m_allowed(allowed)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ApplicationInputBlocker::~ApplicationInputBlocker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool ApplicationInputBlocker::isUserInput(int eventType)
{
    switch (eventType) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

bool ApplicationInputBlocker::eventFilter(QObject* receiver, QEvent* event)
{
    if (isUserInput(event->type()) && !isAllowed(receiver))
        return true;
    return QObject::eventFilter(receiver, event);
}

bool ApplicationInputBlocker::isAllowed(QObject* receiver) const
{
    if (!m_allowed)
        return false;
    if (auto* widget = qobject_cast<QWidget*>(receiver))
        return widget == m_allowed || m_allowed->isAncestorOf(widget) || widget->window() == m_allowed;
    if (auto* window = qobject_cast<QWindow*>(receiver))
        return window == m_allowed->windowHandle();
    return false;
}
