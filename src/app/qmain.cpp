#include "app/qmain.h"

#include "app/main_window.h"
#include "app/recovery_folder.h"
#include "app/startup_benchmark.h"
#include "app/theme.h"
#include "model/buffer_reuse.h"

#include <QApplication>
#include <QIcon>

namespace {

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/kromel-%1.png").arg(size));
    }
    return icon;
}

} // namespace

QString projectPathFromArguments(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).startsWith(QLatin1Char('-'))) {
            return arguments.at(i);
        }
    }
    return {};
}

int qMain(int argc, char** argv)
{
    keepLargeBuffersForReuse();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("kromelstudio"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("kromel.studio"));
    QCoreApplication::setApplicationName(QStringLiteral("KROMEL"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.2.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("studio.kromel.KROMEL"));
    QApplication::setWindowIcon(applicationIcon());
    QCoreApplication::setAttribute(Qt::AA_DontShowIconsInMenus);
    theme::apply(app);

    MainWindow window;
    window.show();
    window.startCrashRecovery(defaultRecoveryFolderPath());
    if (QCoreApplication::arguments().contains(QStringLiteral("--startup-benchmark")))
        armStartupBenchmark(&window);

    // The toolkit has already taken its own options ("-platform xcb", "-style ...") out of
    // this list, values included, so an option's value is never mistaken for a project.
    const QString projectPath = projectPathFromArguments(QCoreApplication::arguments());
    if (!projectPath.isEmpty()) {
        window.openProjectFromDesktop(projectPath);
    }
    return QApplication::exec();
}
