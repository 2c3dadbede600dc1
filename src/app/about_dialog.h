#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>

class QDate;

// The About box: logo, version, tagline and the build facts a bug report needs.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The logo, wearing a Santa hat through December.
    static QImage logoArt(const QDate& date);

    // "KROMEL 3.2.0", with a pre-release suffix ("-beta2") set off in orange.
    static QString versionHtml(const QString& version);

    static QStringList buildInfoLines(const QString& qtRuntimeVersion, const QString& qtBuildVersion);
};
