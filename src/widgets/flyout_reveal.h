#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

// Shows a translucent frameless popup without the flash of an unpainted window: the popup
// stays fully transparent until its first frame has been painted (or a fallback delay
// passed), then becomes opaque at once. A newer reveal makes any older one stale.
class FlyoutReveal : public QObject {
    Q_OBJECT

public:
    explicit FlyoutReveal(QObject* parent = nullptr);

    void show(QWidget* popup);
    void revealNow(QWidget* popup, quint64 generation);
    quint64 generation() const { return m_generation; }

    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void revealed(QWidget* popup);

private:
    QPointer<QWidget> m_pending;
    quint64 m_generation = 0;
    quint64 m_revealedGeneration = 0;
};
