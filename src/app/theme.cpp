#include "app/theme.h"

#include "app/menu_translucency.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>

namespace theme {

namespace {

QPalette darkPalette()
{
    QPalette palette;
    const auto setAll = [&palette](QPalette::ColorRole role, const QColor& color) {
        palette.setBrush(QPalette::All, role, color);
    };
    setAll(QPalette::Window, QColor(0x39, 0x39, 0x39));
    setAll(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    setAll(QPalette::Base, QColor(0x2B, 0x2B, 0x2B));
    setAll(QPalette::AlternateBase, QColor(0x3F, 0x3F, 0x3F));
    setAll(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    setAll(QPalette::Button, QColor(0x50, 0x50, 0x50));
    setAll(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    setAll(QPalette::BrightText, Qt::white);
    setAll(QPalette::Highlight, QColor(0x0A, 0x84, 0xFF));
    setAll(QPalette::HighlightedText, Qt::white);
    setAll(QPalette::ToolTipBase, QColor(0x1E, 0x1E, 0x1E));
    setAll(QPalette::ToolTipText, QColor(0xEE, 0xEE, 0xEE));
    setAll(QPalette::PlaceholderText, QColor(0x99, 0x99, 0x99));
    setAll(QPalette::Link, QColor(0x0A, 0x84, 0xFF));
    setAll(QPalette::LinkVisited, QColor(0x0A, 0x84, 0xFF));

    const QColor disabledText(0x99, 0x99, 0x99);
    for (const auto role :
        {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText}) {
        palette.setBrush(QPalette::Disabled, role, disabledText);
    }
    return palette;
}

// Without the sheet the palette alone still gives a usable dark program.
QString darkStyleSheet()
{
    QFile file(QStringLiteral(":/styles/dark.qss"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

} // namespace

void apply(QApplication& app)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    app.setStyleSheet(darkStyleSheet());
    app.installEventFilter(new MenuTranslucency(&app));
}

} // namespace theme
