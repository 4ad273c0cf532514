#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A print scheduler of the test's own: cupsd in the foreground with everything in a temporary folder,
// listening only on the socket CUPS_SERVER names, so nothing reaches the machine's own printers. Its
// queues write each job's PDF into the folder and log every job's title, copies, sides and paper.
class PrivateScheduler {
public:
    PrivateScheduler();
    ~PrivateScheduler() { stop(); }
    PrivateScheduler(const PrivateScheduler&) = delete;
    PrivateScheduler& operator=(const PrivateScheduler&) = delete;

    bool running() const { return whyNot_.isEmpty(); }
    QString whyNot() const { return whyNot_; }

    struct Queue {
        QString name;
        QString paper = QStringLiteral("A4"); // "A4" or "Letter"
        int marginPoints = 0; // on every side
        bool twoSided = false; // long edge
    };
    bool addQueue(const Queue& queue); // the first one made is the default
    QString output(const QString& queue) const { return path(QStringLiteral("out/%1.pdf").arg(queue)); }
    bool command(const QString& program, const QStringList& arguments) const; // lpadmin, cupsreject...
    // One "queue|title|copies|sides|media" line a finished job; waits a few seconds for `count` of them.
    QStringList jobs(int count = 0) const;
    void stop();

private:
    QTemporaryDir folder_;
    std::unique_ptr<QProcess> cupsd_;
    QString whyNot_;
    bool hasDefault_ = false;

    QString path(const QString& name) const { return folder_.filePath(name); }
};
