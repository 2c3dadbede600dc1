#include "widgets/flyout_reveal.h"

#include <QEvent>
#include <QTimer>

namespace {

// Some window systems never report a paint for a window that starts transparent.
constexpr int fallbackRevealMs = 100;

} // namespace

FlyoutReveal::FlyoutReveal(QObject* parent)
    : QObject(parent)
{
}

void FlyoutReveal::show(QWidget* popup)
{
    popup->setWindowOpacity(0.0);
    m_pending = popup;
    const quint64 generation = ++m_generation;
    popup->removeEventFilter(this);
    popup->installEventFilter(this);
    popup->show();
    QPointer<QWidget> guarded(popup);
    QTimer::singleShot(fallbackRevealMs, this, [this, guarded, generation] {
        if (guarded)
            revealNow(guarded, generation);
    });
}

void FlyoutReveal::revealNow(QWidget* popup, quint64 generation)
{
    if (generation != m_generation || m_revealedGeneration == generation || !popup->isVisible())
        return;
    m_revealedGeneration = generation;
    popup->setWindowOpacity(1.0);
    Q_EMIT revealed(popup);
}

bool FlyoutReveal::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pending && m_pending) {
        if (event->type() == QEvent::Paint) {
            QPointer<QWidget> popup = m_pending;
            const quint64 generation = m_generation;
            m_pending = nullptr;
            QTimer::singleShot(0, this, [this, popup, generation] {
                if (popup)
                    revealNow(popup, generation);
            });
        } else if (event->type() == QEvent::Hide) {
            m_pending = nullptr;
        }
    }
    return QObject::eventFilter(watched, event);
}
