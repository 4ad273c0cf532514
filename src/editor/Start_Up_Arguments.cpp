#include "editor/Start_Up_Arguments.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString designsLeftMessage(const QStringList& paths)
{
    if (paths.size() < 2)
        return {};
    QStringList left;
    for (qsizetype i = 1; i < paths.size(); ++i)
        left << QStringLiteral("\"%1\"").arg(QFileInfo(paths.at(i)).fileName());
    return QStringLiteral("Tessaline Card opens one design per window. \"%1\" is opened; not opened: %2.")
        .arg(QFileInfo(paths.first()).fileName(), left.join(QStringLiteral(", ")));
}

QStringList designPathsFromArguments(const QStringList& arguments, const QString& workingFolder)
{
    QStringList paths;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-'))))
            continue;
        QString path = argument;
        // A URL (as file managers may pass): only a local file names a design we can open.
        const QUrl url(argument);
        const bool isUrl = url.scheme().size() > 1
            && (argument.contains(QLatin1String("://"))
                || url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0);
        if (isUrl) {
            if (!url.isLocalFile())
                continue;
            path = url.toLocalFile();
        }
        paths << QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
    }
    return paths;
}
