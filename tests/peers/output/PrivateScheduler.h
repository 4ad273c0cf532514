#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A print scheduler of the test's own: cupsd in the foreground with its configuration, spool, logs and
// filter in a temporary folder, listening only on the socket that CUPS_SERVER names for every test (the
// test program sets it), so nothing reaches the machine's own scheduler or printers. Its queues write
// each job's PDF into the folder and log every job's title, copies, sides and paper. It is stopped by its
// process id when it goes.
class PrivateScheduler {
public:
    PrivateScheduler();
    ~PrivateScheduler();
    PrivateScheduler(const PrivateScheduler&) = delete;
    PrivateScheduler& operator=(const PrivateScheduler&) = delete;

    bool running() const { return whyNot_.isEmpty(); }
    QString whyNot() const { return whyNot_; } // why it could not be started

    struct Queue {
        QString name;
        QString paper = QStringLiteral("A4"); // its default paper: "A4" or "Letter"
        int marginPoints = 0; // what it cannot print on, on every side
        bool twoSided = false; // its default is two-sided, long edge
    };
    // A queue that writes its jobs to output(name); the first one made is the default.
    bool addQueue(const Queue& queue);
    QString output(const QString& queue) const;
    // Runs one of the scheduler's command-line tools (lpadmin, cupsreject, cupsdisable...) against it.
    bool command(const QString& program, const QStringList& arguments) const;

    // The jobs finished so far, one "queue|title|copies|sides|media" line each; waits up to a few
    // seconds for at least `count` of them.
    QStringList jobs(int count = 0) const;
    void stop();

private:
    QTemporaryDir folder_;
    std::unique_ptr<QProcess> cupsd_;
    QString whyNot_;
    bool hasDefault_ = false;

    QString path(const QString& name) const { return folder_.filePath(name); }
};
