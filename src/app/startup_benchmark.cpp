#include "app/startup_benchmark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace {

class FirstPaintWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Reported once the paint is done, from the next turn of the event loop.
            QTimer::singleShot(0, qApp, [] {
                QTextStream(stdout) << QStringLiteral("first frame painted %1 ms after process start\n")
                                           .arg(millisecondsSinceProcessStart(), 0, 'f', 0);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

void armStartupBenchmark(QWidget* window)
{
    window->installEventFilter(new FirstPaintWatcher(window));
}

double millisecondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    // The command name in parentheses may hold blanks; the fields after it do not.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // Field 22 of the record, the start time in clock ticks since boot, is the 20th here.
    if (fields.size() < 20)
        return -1;
    const double startTicks = fields.at(19).toDouble();
    const double upSeconds = uptime.readAll().split(' ').value(0).toDouble();
    const double ticksPerSecond = double(sysconf(_SC_CLK_TCK));
    return (upSeconds - startTicks / ticksPerSecond) * 1000.0;
}
