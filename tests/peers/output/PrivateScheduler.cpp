#include "PrivateScheduler.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <unistd.h>

namespace {

bool writeText(const QString& file, const QString& text, QFile::Permissions permissions = {})
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text.toUtf8()) != text.toUtf8().size())
        return false;
    out.close();
    return permissions == QFile::Permissions() || out.setPermissions(permissions);
}

// A PostScript printer description of our own that takes PDF as it is, with A4 and Letter.
QString description(const PrivateScheduler::Queue& queue)
{
    const int m = queue.marginPoints;
    const auto area = [m](double width, double height) {
        return QStringLiteral("%1 %2 %3 %4").arg(m).arg(m).arg(width - m).arg(height - m);
    };
    // clang-format off
    return QStringLiteral(R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "SHEETS.PPD"
*Manufacturer: "Tessaline Test"
*Product: "(Sheet Catcher)"
*ModelName: "Sheet Catcher"
*ShortNickName: "Sheet Catcher"
*NickName: "Sheet Catcher"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 sheet-pass"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: %1
*PageSize A4/A4: "<</PageSize[595.28 841.89]>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: %1
*PageRegion A4/A4: "<</PageSize[595.28 841.89]>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: %1
*ImageableArea A4/A4: "%2"
*ImageableArea Letter/US Letter: "%3"
*DefaultPaperDimension: %1
*PaperDimension A4/A4: "595.28 841.89"
*PaperDimension Letter/US Letter: "612 792"
*OpenUI *Duplex/2-Sided Printing: PickOne
*OrderDependency: 10 AnySetup *Duplex
*DefaultDuplex: %4
*Duplex None/Off: "<</Duplex false>>setpagedevice"
*Duplex DuplexNoTumble/Long Edge: "<</Duplex true/Tumble false>>setpagedevice"
*Duplex DuplexTumble/Short Edge: "<</Duplex true/Tumble true>>setpagedevice"
*CloseUI: *Duplex
*DefaultFont: Courier
*Font Courier: Standard "(001.004S)" Standard ROM
)ppd")
        // clang-format on
        .arg(queue.paper, area(595.28, 841.89), area(612, 792),
            queue.twoSided ? QStringLiteral("DuplexNoTumble") : QStringLiteral("None"));
}

} // namespace

PrivateScheduler::PrivateScheduler()
    : folder_(QDir::tempPath() + QStringLiteral("/tessaline-cups-XXXXXX"))
{
    const QString socket = qEnvironmentVariable("CUPS_SERVER");
    if (!QFileInfo(QStringLiteral("/usr/sbin/cupsd")).isExecutable()) {
        whyNot_ = QStringLiteral("cupsd is not installed (tools/deps.sh installs cups-daemon)");
        return;
    }
    if (!folder_.isValid() || !socket.startsWith(QLatin1Char('/'))) {
        whyNot_ = QStringLiteral("no temporary folder or no socket in CUPS_SERVER");
        return;
    }
    // Run as root, the scheduler runs its filter as the user lp, which must reach the folder.
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder_.path(), open);
    for (const char* sub : { "spool", "cache", "state", "log", "out", "ppd", "serverbin/filter", "serverbin/daemon" }) {
        QDir(folder_.path()).mkpath(QLatin1String(sub));
        QFile::setPermissions(path(QLatin1String(sub)), open);
    }
    QFile::setPermissions(path(QStringLiteral("serverbin")), open);
    QFile::link(QStringLiteral("/usr/lib/cups/daemon/cups-exec"), path(QStringLiteral("serverbin/daemon/cups-exec")));
    const bool written = writeText(path(QStringLiteral("serverbin/filter/sheet-pass")),
                             QStringLiteral("#!/bin/sh\nexec cat \"${6:--}\"\n"), open)
        && writeText(path(QStringLiteral("cupsd.conf")),
            QStringLiteral("Listen %1\nLogLevel info\nPageLogFormat %p|%{job-name}|%{copies}|%{sides}|%{media}\n"
                           "Browsing No\nWebInterface No\nDefaultAuthType None\n"
                           "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                           "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n")
                .arg(socket))
        && writeText(path(QStringLiteral("cups-files.conf")),
            QStringLiteral("FileDevice Yes\nServerRoot %1\nRequestRoot %1/spool\nTempDir %1/spool\n"
                           "CacheDir %1/cache\nStateDir %1/state\nServerBin %1/serverbin\nDataDir /usr/share/cups\n"
                           "AccessLog %1/log/access_log\nErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                           "Printcap %1/printcap\n%2")
                .arg(folder_.path(),
                    // An ordinary user runs the scheduler and its filter as itself.
                    geteuid() == 0 ? QString() : QStringLiteral("User %1\n").arg(qEnvironmentVariable("USER"))));
    if (!written) {
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
    while (cupsd_->state() != QProcess::NotRunning && clock.elapsed() < 5000) {
        if (command(QStringLiteral("lpstat"), { QStringLiteral("-r") }))
            return;
        QThread::msleep(20);
    }
    cupsd_->waitForFinished(100);
    whyNot_ = QStringLiteral("cupsd did not start: %1").arg(QString::fromUtf8(cupsd_->readAll()).trimmed());
    stop();
}

PrivateScheduler::~PrivateScheduler()
{
    stop();
}

void PrivateScheduler::stop()
{
    if (!cupsd_ || cupsd_->state() == QProcess::NotRunning)
        return;
    cupsd_->terminate(); // SIGTERM to its own process id
    if (!cupsd_->waitForFinished(5000)) {
        cupsd_->kill();
        cupsd_->waitForFinished(2000);
    }
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
    if (!writeText(ppd, description(queue)))
        return false;
    if (!command(QStringLiteral("lpadmin"),
            { QStringLiteral("-p"), queue.name, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("file://") + output(queue.name), QStringLiteral("-P"), ppd }))
        return false;
    if (!hasDefault_)
        hasDefault_ = command(QStringLiteral("lpadmin"), { QStringLiteral("-d"), queue.name });
    return true;
}

QString PrivateScheduler::output(const QString& queue) const
{
    return path(QStringLiteral("out/%1.pdf").arg(queue));
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
    } while (clock.elapsed() < 5000);
    return lines;
}
