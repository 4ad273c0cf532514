#include "PrivateScheduler.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <tuple>

#include <unistd.h>

namespace {

// Run as root, the scheduler runs its filter as the user lp, which must reach the folder.
constexpr auto reachable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
    | QFile::ReadOther | QFile::ExeOther;

bool writeText(const QString& file, const QString& text, bool program = false)
{
    QFile out(file);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text.toUtf8()) == text.toUtf8().size()
        && (!program || out.setPermissions(reachable));
}

// A PostScript printer description of our own that takes PDF as it is, with A4 and Letter.
QString description(const PrivateScheduler::Queue& queue)
{
    QString papers;
    for (const auto& [name, width, height] : { std::tuple { "A4", 595.28, 841.89 }, { "Letter", 612.0, 792.0 } })
        papers += QStringLiteral("*PageSize %1: \"<</PageSize[%2 %3]>>setpagedevice\"\n*PaperDimension %1: \"%2 %3\"\n"
                                 "*ImageableArea %1: \"%4 %4 %5 %6\"\n")
                      .arg(QLatin1String(name))
                      .arg(width)
                      .arg(height)
                      .arg(queue.marginPoints)
                      .arg(width - queue.marginPoints)
                      .arg(height - queue.marginPoints);
    return QStringLiteral(
        "*PPD-Adobe: \"4.3\"\n*NickName: \"Sheet Catcher\"\n"
        "*cupsFilter2: \"application/pdf application/vnd.cups-pdf 0 sheet-pass\"\n"
        "*OpenUI *PageSize: PickOne\n*DefaultPageSize: %1\n%2*CloseUI: *PageSize\n"
        "*OpenUI *Duplex: PickOne\n*DefaultDuplex: %3\n*Duplex None: \"<</Duplex false>>setpagedevice\"\n"
        "*Duplex DuplexNoTumble: \"<</Duplex true/Tumble false>>setpagedevice\"\n*CloseUI: *Duplex\n")
        .arg(queue.paper, papers, queue.twoSided ? QStringLiteral("DuplexNoTumble") : QStringLiteral("None"));
}

} // namespace

PrivateScheduler::PrivateScheduler()
    : folder_(QDir::tempPath() + QStringLiteral("/tessaline-cups-XXXXXX"))
{
    const QString socket = qEnvironmentVariable("CUPS_SERVER");
    if (!QFileInfo(QStringLiteral("/usr/sbin/cupsd")).isExecutable())
        whyNot_ = QStringLiteral("cupsd is not installed (tools/deps.sh installs cups-daemon)");
    else if (!folder_.isValid() || !socket.startsWith(QLatin1Char('/')))
        whyNot_ = QStringLiteral("no temporary folder or no socket in CUPS_SERVER");
    if (!whyNot_.isEmpty())
        return;
    QFile::setPermissions(folder_.path(), reachable);
    for (const char* sub :
        { "spool", "cache", "state", "log", "out", "ppd", "serverbin", "serverbin/filter", "serverbin/daemon" }) {
        QDir(folder_.path()).mkpath(QLatin1String(sub));
        QFile::setPermissions(path(QLatin1String(sub)), reachable);
    }
    QFile::link(QStringLiteral("/usr/lib/cups/daemon/cups-exec"), path(QStringLiteral("serverbin/daemon/cups-exec")));
    // An ordinary user runs the scheduler and its filter as itself.
    const QString user = geteuid() == 0 ? QString() : QStringLiteral("User ") + qEnvironmentVariable("USER");
    if (!writeText(path(QStringLiteral("serverbin/filter/sheet-pass")),
            QStringLiteral("#!/bin/sh\nexec cat \"${6:--}\"\n"), true)
        || !writeText(path(QStringLiteral("cupsd.conf")),
            QStringLiteral("Listen %1\nLogLevel info\nPageLogFormat %p|%{job-name}|%{copies}|%{sides}|%{media}\n"
                           "Browsing No\nWebInterface No\nDefaultAuthType None\n"
                           "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                           "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                .arg(socket))
        || !writeText(path(QStringLiteral("cups-files.conf")),
            QStringLiteral("FileDevice Yes\nServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool\n"
                           "CacheDir %1/cache\nStateDir %1/state\nServerBin %1/serverbin\nDataDir /usr/share/cups\n"
                           "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                           "Printcap %1/printcap\n%2\n")
                .arg(folder_.path(), user))) {
        whyNot_ = QStringLiteral("the configuration could not be written");
        return;
    }
    QFile::remove(socket);
    cupsd_ = std::make_unique<QProcess>();
    cupsd_->setProcessChannelMode(QProcess::MergedChannels);
    cupsd_->start(QStringLiteral("/usr/sbin/cupsd"),
        { QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
            path(QStringLiteral("cups-files.conf")) });
    QElapsedTimer clock;
    clock.start();
    while (cupsd_->state() != QProcess::NotRunning && clock.elapsed() < 30000) {
        if (command(QStringLiteral("lpstat"), { QStringLiteral("-r") }))
            return;
        QThread::msleep(20);
    }
    cupsd_->waitForFinished(100);
    whyNot_ = QStringLiteral("cupsd did not start: %1").arg(QString::fromUtf8(cupsd_->readAll()).trimmed());
    stop();
}

void PrivateScheduler::stop()
{
    if (cupsd_) {
        cupsd_->terminate(); // SIGTERM to its own process id; the process's end kills it if it lingers
        cupsd_->waitForFinished(5000);
    }
    cupsd_.reset();
}

bool PrivateScheduler::command(const QString& program, const QStringList& arguments) const
{
    QString out, err;
    const bool done = testsupport::runProgram(program, arguments, &out, &err, {}, 10000) == 0
        && !out.contains(QLatin1String("not running"));
    if (!done && program != QLatin1String("lpstat"))
        qWarning("%s: %s%s", qPrintable(program), qPrintable(out), qPrintable(err));
    return done;
}

bool PrivateScheduler::addQueue(const Queue& queue)
{
    const QString ppd = path(queue.name + QStringLiteral(".ppd"));
    if (!writeText(ppd, description(queue))
        || !command(QStringLiteral("lpadmin"),
            { QStringLiteral("-p"), queue.name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("file://") + output(queue.name), QStringLiteral("-P"), ppd }))
        return false;
    if (!hasDefault_)
        hasDefault_ = command(QStringLiteral("lpadmin"), { QStringLiteral("-d"), queue.name });
    return true;
}

QStringList PrivateScheduler::jobs(int count) const
{
    QElapsedTimer clock;
    clock.start();
    QStringList lines;
    do {
        QFile log(path(QStringLiteral("log/page_log")));
        if (log.open(QIODevice::ReadOnly))
            lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.size() >= count)
            break;
        QThread::msleep(50);
    } while (clock.elapsed() < 60000);
    return lines;
}
