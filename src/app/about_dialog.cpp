#include "app/about_dialog.h"

#include "app/buildinfo.h"

#include <QCoreApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString logoPath = QStringLiteral(":/about/logo.png");
const QString hatPath = QStringLiteral(":/about/santa-hat.png");

// The hat hangs over the logo's top-left corner, so the picture grows up and left.
constexpr QSize holidayArtSize(200, 154);
constexpr QPoint holidayLogoOffset(48, 26);

constexpr auto preReleaseColor = "#F6811A";

QLabel* centredLabel(const QString& objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

void scaleFont(QLabel* label, qreal factor, bool bold)
{
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    label->setFont(font);
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About KROMEL"));

    auto* logo = centredLabel(QStringLiteral("aboutLogo"), this);
    logo->setPixmap(QPixmap::fromImage(logoArt(QDate::currentDate())));

    auto* version = centredLabel(QStringLiteral("aboutVersion"), this);
    version->setTextFormat(Qt::RichText);
    version->setText(versionHtml(QCoreApplication::applicationVersion()));
    scaleFont(version, 1.6, true);

    auto* tagline = centredLabel(QStringLiteral("aboutTagline"), this);
    tagline->setText(tr("The pixel art editor for creating extended Commodore 64 images"));

    auto* buildInfo = centredLabel(QStringLiteral("aboutBuildInfo"), this);
    buildInfo->setTextFormat(Qt::PlainText);
    buildInfo->setText(
        buildInfoLines(buildinfo::qtRuntimeVersion(), buildinfo::qtBuildVersion()).join(QLatin1Char('\n')));
    // Selectable, so the lines can be pasted into a bug report.
    buildInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The application style sheet colours every widget's text, so the quieter shade has to
    // be a rule of the label's own.
    buildInfo->setStyleSheet(
        QStringLiteral("color: %1;").arg(buildInfo->palette().color(QPalette::PlaceholderText).name()));
    scaleFont(buildInfo, 0.9, false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setCenterButtons(true);
    // The style's stock glyph on the button clashes with the text-only look of the program.
    buttons->button(QDialogButtonBox::Close)->setIcon(QIcon());
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 20);
    layout->setSpacing(6);
    layout->addWidget(logo);
    layout->addSpacing(10);
    layout->addWidget(version);
    layout->addWidget(tagline);
    layout->addSpacing(14);
    layout->addWidget(buildInfo);
    layout->addSpacing(14);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QImage AboutDialog::logoArt(const QDate& date)
{
    const QImage logo(logoPath);
    if (date.month() != 12) {
        return logo;
    }
    const QImage hat(hatPath);
    if (logo.isNull() || hat.isNull()) {
        return logo;
    }
    QImage art(holidayArtSize, QImage::Format_ARGB32_Premultiplied);
    art.fill(Qt::transparent);
    QPainter painter(&art);
    painter.drawImage(holidayLogoOffset, logo);
    painter.drawImage(QPoint(0, 0), hat);
    return art;
}

QString AboutDialog::versionHtml(const QString& version)
{
    const qsizetype dash = version.indexOf(QLatin1Char('-'));
    QString shown = version.toHtmlEscaped();
    if (dash >= 0) {
        shown = version.left(dash + 1).toHtmlEscaped()
            + QStringLiteral("<span style=\"color:%1;\">%2</span>")
                  .arg(QLatin1String(preReleaseColor), version.mid(dash + 1).toHtmlEscaped());
    }
    return QStringLiteral("KROMEL %1").arg(shown);
}

// A runtime other than the build's toolkit is worth seeing at a glance in a bug report.
QStringList AboutDialog::buildInfoLines(const QString& qtRuntimeVersion, const QString& qtBuildVersion)
{
    const QString runtime = qtRuntimeVersion == qtBuildVersion
        ? tr("Qt runtime in use: %1").arg(qtRuntimeVersion)
        : tr("Qt runtime in use: %1 (built against %2)").arg(qtRuntimeVersion, qtBuildVersion);
    return {
        tr("Compiled on: %1").arg(buildinfo::compileDate()),
        tr("Compiled with %1 version: %2").arg(buildinfo::compilerName(), buildinfo::compilerVersion()),
        runtime,
    };
}
