#pragma once

#include <QColor>
#include <QIcon>
#include <QToolButton>

// A tool button on a dashboard. Its icon is recoloured to one grey when off and a brighter
// one when checked, so the dashboard's faces follow the theme whatever colours the
// artwork was drawn in.
class DashboardButton : public QToolButton {
    Q_OBJECT
    Q_PROPERTY(QColor inactiveIconColor READ inactiveIconColor WRITE setInactiveIconColor DESIGNABLE true)
    Q_PROPERTY(QColor activeIconColor READ activeIconColor WRITE setActiveIconColor DESIGNABLE true)

public:
    explicit DashboardButton(QWidget* parent = nullptr);

    QColor inactiveIconColor() const { return m_inactiveColor; }
    void setInactiveIconColor(const QColor& colour);
    QColor activeIconColor() const { return m_activeColor; }
    void setActiveIconColor(const QColor& colour);

    // The icon the button shows in the given state: a tinted copy, or the icon itself when
    // no colour is set for that state.
    QIcon shownIcon(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void clearTintCache();

    QColor m_inactiveColor;
    QColor m_activeColor;
    QIcon m_tintedOff;
    QIcon m_tintedOn;
    qint64 m_tintedKey = 0;
    bool m_tintValid = false;
};

// The icon with every opaque pixel recoloured to `colour`, keeping its alpha.
QIcon tintedIcon(const QIcon& icon, const QSize& size, const QColor& colour);
