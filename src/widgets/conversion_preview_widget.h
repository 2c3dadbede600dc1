#pragma once

#include "model/colormap.h"

#include <QWidget>

class Project;

// The conversion dialog's preview: the converted canvas inside its border frame, shown as
// the C64 shows it (multicolor pixels twice as wide) with the reference grid over it.
class ConversionPreviewWidget : public QWidget {
    Q_OBJECT

public:
    // `project` is the dialog's working copy; it must outlive the widget.
    explicit ConversionPreviewWidget(const Project* project, QWidget* parent = nullptr);

    void setColormap(const Colormap& colormap);
    const Colormap& colormap() const { return m_colormap; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect frameRect() const;

    const Project* m_project;
    Colormap m_colormap;
};
