#pragma once

#include <QObject>

// Lets the style sheet's rounded menu frame show through: a menu is a top-level window,
// and without these flags the window system paints a square (and a shadow) behind the
// rounded corners.
class MenuTranslucency : public QObject {
    Q_OBJECT

public:
    explicit MenuTranslucency(QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;
};
