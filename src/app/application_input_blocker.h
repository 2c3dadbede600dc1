#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Swallows the user's input everywhere in the application except in one window, while a
// nested event loop keeps the rest drawn. Installed for its lifetime.
class ApplicationInputBlocker : public QObject {
    Q_OBJECT

public:
    explicit ApplicationInputBlocker(QWidget* allowed);
    ~ApplicationInputBlocker() override;

    static bool isUserInput(int eventType);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool isAllowed(QObject* receiver) const;

    QPointer<QWidget> m_allowed;
};
