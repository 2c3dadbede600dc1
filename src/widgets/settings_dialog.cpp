#include "widgets/settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QCheckBox* addCheckBox(QVBoxLayout* layout, const QString& text, const QString& toolTip, bool checked)
{
    auto* box = new QCheckBox(text);
    box->setToolTip(toolTip);
    box->setChecked(checked);
    layout->addWidget(box);
    return box;
}

QDoubleSpinBox* secondsSpinBox(double minimum, double maximum, double step, double value)
{
    auto* spin = new QDoubleSpinBox;
    spin->setRange(minimum, maximum);
    spin->setDecimals(1);
    spin->setSingleStep(step);
    spin->setSuffix(QStringLiteral(" s"));
    spin->setValue(value);
    return spin;
}

} // namespace

SettingsDialog::SettingsDialog(const Preferences& preferences, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Settings"));

    auto* general = new QGroupBox(tr("General"));
    auto* generalLayout = new QVBoxLayout(general);
    m_invertZoomWheel = addCheckBox(generalLayout, tr("&Invert Scroll Wheel Direction for Zooming"),
        tr("Scroll down to zoom in, on the canvas and in the preview window."), preferences.invertZoomWheel);
    m_bindZoomToCanvas = addCheckBox(generalLayout, tr("&Bind Zoom to Canvas"),
        tr("Keep the center Zoom In/Out works around inside the drawable canvas."),
        preferences.bindZoomToCanvas);
    m_smoothImageScaling = addCheckBox(generalLayout, tr("&Smooth Scaling for Imported Images"),
        tr("Resample imported images (the reference layer and the Convert Image input) with bilinear "
           "filtering instead of keeping their pixels blocky."),
        preferences.smoothImageScaling);
    m_nativeFileDialogs = addCheckBox(generalLayout, tr("Use OS-Native &File Chooser Dialogs"),
        tr("Open and save files through the system's own file chooser. Turn it off for KROMEL's "
           "choosers, which preview the project, image or sprite file as you highlight it."),
        preferences.nativeFileDialogs);

    auto* pickers = new QGroupBox(tr("Tool Pickers"));
    auto* pickersLayout = new QFormLayout(pickers);
    m_hoverDelay = secondsSpinBox(0.0, 5.0, 0.1, preferences.toolFlyoutHoverDelaySeconds);
    m_hoverDelay->setToolTip(tr("How long to hover over a tool picker button (the shape or selection "
                                "tool) before its flyout opens on its own. Clicking the button activates "
                                "the tool with the shown pick at once, whatever this is set to."));
    m_leaveGrace = secondsSpinBox(0.0, 5.0, 0.1, preferences.toolFlyoutLeaveGraceSeconds);
    m_leaveGrace->setToolTip(tr("How long a tool picker's flyout stays open after the pointer strays off "
                                "the dashboard (rather than onto it, which closes it at once); a grace "
                                "for imprecise gestures. 0 closes immediately."));
    pickersLayout->addRow(tr("&Hover delay:"), m_hoverDelay);
    pickersLayout->addRow(tr("&Leave grace:"), m_leaveGrace);

    auto* ultimate = new QGroupBox(tr("Ultimate Device"));
    auto* ultimateLayout = new QFormLayout(ultimate);
    m_host = new QLineEdit(preferences.ultimateHost);
    m_timeout = secondsSpinBox(0.1, 60.0, 0.5, preferences.ultimateTimeoutSeconds);
    ultimateLayout->addRow(tr("&Host:"), m_host);
    ultimateLayout->addRow(tr("&Timeout:"), m_timeout);

    auto* emulator = new QGroupBox(tr("Emulator"));
    auto* emulatorLayout = new QFormLayout(emulator);
    m_emulator = new QLineEdit(preferences.emulatorProgram);
    m_emulator->setObjectName(QStringLiteral("emulatorProgramEdit"));
    m_emulator->setPlaceholderText(tr("x64sc on PATH"));
    m_emulator->setToolTip(tr("The C64 emulator File -> Run in Emulator starts with -autostart and the "
                              "picture's program. Empty: VICE's x64sc, looked up on PATH."));
    auto* browse = new QPushButton(tr("B&rowse..."));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString program
            = QFileDialog::getOpenFileName(this, tr("Emulator Program"), m_emulator->text());
        if (!program.isEmpty())
            m_emulator->setText(program);
    });
    auto* emulatorRow = new QHBoxLayout;
    emulatorRow->addWidget(m_emulator, 1);
    emulatorRow->addWidget(browse);
    emulatorLayout->addRow(tr("&Program:"), emulatorRow);

    auto* recovery = new QGroupBox(tr("Crash Recovery"));
    auto* recoveryLayout = new QFormLayout(recovery);
    m_autosave = new QCheckBox(tr("&Keep a recovery copy of unsaved work"));
    m_autosave->setToolTip(tr("While the project has unsaved changes, KROMEL keeps a copy of it, history "
                              "included, and offers it at the next start if the program ends unexpectedly."));
    m_autosave->setChecked(preferences.autosave);
    m_autosaveMinutes = new QSpinBox;
    m_autosaveMinutes->setRange(1, 60);
    m_autosaveMinutes->setSuffix(tr(" min"));
    m_autosaveMinutes->setValue(qBound(1, (preferences.autosaveIntervalSeconds + 30) / 60, 60));
    m_autosaveMinutes->setToolTip(tr("How often the copy is brought up to date; it is also written whenever "
                                     "KROMEL loses the focus."));
    m_autosaveMinutes->setEnabled(preferences.autosave);
    connect(m_autosave, &QCheckBox::toggled, m_autosaveMinutes, &QWidget::setEnabled);
    recoveryLayout->addRow(m_autosave);
    recoveryLayout->addRow(tr("&Every:"), m_autosaveMinutes);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(general);
    layout->addWidget(pickers);
    layout->addWidget(ultimate);
    layout->addWidget(emulator);
    layout->addWidget(recovery);
    layout->addWidget(buttons);
}

Preferences SettingsDialog::preferences() const
{
    Preferences edited;
    edited.invertZoomWheel = m_invertZoomWheel->isChecked();
    edited.bindZoomToCanvas = m_bindZoomToCanvas->isChecked();
    edited.smoothImageScaling = m_smoothImageScaling->isChecked();
    edited.nativeFileDialogs = m_nativeFileDialogs->isChecked();
    edited.toolFlyoutHoverDelaySeconds = m_hoverDelay->value();
    edited.toolFlyoutLeaveGraceSeconds = m_leaveGrace->value();
    edited.ultimateHost = m_host->text().trimmed();
    edited.ultimateTimeoutSeconds = m_timeout->value();
    edited.emulatorProgram = m_emulator->text().trimmed();
    edited.autosave = m_autosave->isChecked();
    edited.autosaveIntervalSeconds = m_autosaveMinutes->value() * 60;
    return edited;
}
