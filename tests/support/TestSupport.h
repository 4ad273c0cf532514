#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace testsupport {

// Runs a program with arguments (no shell) and returns its exit code; -1 when it cannot start.
// Standard output and error are returned through the pointers when given.
int runProgram(const QString& program, const QStringList& arguments, QString* out = nullptr, QString* err = nullptr,
    const QByteArray& input = {}, int timeoutMs = 120000);

// True when the program can be found on PATH (or is an absolute path that exists).
bool havePeer(const QString& program);

// A fresh, empty folder under the test run's temporary data folder.
QString makeTempFolder(const QString& name);

// The permission bits of a file or folder (07777 when there is nothing there), to compare with octal modes.
unsigned fileMode(const QString& path);

// Makes the files (for a name ending in "/", the folder and its ".tessaline.lock") and another process that
// holds a lock on each, as a writer of the program does, until it is killed (the files stay). Each file holds
// `content`: a half-written file, or a lock's mark.
class LockingProcess {
public:
    explicit LockingProcess(const QStringList& paths, const QByteArray& content = QByteArrayLiteral("half"));
    ~LockingProcess() { kill(); }
    LockingProcess(const LockingProcess&) = delete;
    LockingProcess& operator=(const LockingProcess&) = delete;
    bool started() const { return pid_ > 0; }
    void kill();

private:
    int pid_ = -1;
};

// The bytes of a zlib stream that inflates to at most `limit` bytes, inflated by zlib, which also checks
// the stream's checksum; empty when zlib refuses the stream.
std::vector<std::uint8_t> inflateZlib(const QByteArray& packed, std::size_t limit);

} // namespace testsupport

#include "platform/UiSeam.h"

#include <QDialog>
#include <QUrl>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace testsupport {

// Answers message boxes, modal runs and file panels from a script given in advance, and records what
// was asked. Installed for its lifetime; an unscripted question answers 0 (No / Cancel / no file).
class ScriptedResponder final : public platform::UiResponder {
public:
    ScriptedResponder() { platform::setUiResponder(this); }
    ~ScriptedResponder() override { platform::setUiResponder(nullptr); }

    std::deque<int> messageAnswers;
    std::deque<std::function<int(QDialog&)>> modalRuns;
    std::deque<QString> fileAnswers;

    std::vector<platform::MessageRequest> messages;
    std::vector<QString> dialogsRun; // object names of the dialogs run
    std::vector<platform::FileRequest> fileRequests;
    std::vector<QUrl> urlsOpened; // what would have gone to the desktop's default programs

    std::function<void()> whileAsked; // what happens elsewhere while a message is up (once)

    int showMessage(const platform::MessageRequest& request) override
    {
        messages.push_back(request);
        if (const std::function<void()> elsewhere = std::exchange(whileAsked, {}))
            elsewhere();
        return take(messageAnswers, 0);
    }
    int runModal(QDialog& dialog) override
    {
        dialogsRun.push_back(dialog.objectName());
        dialog.setResult(0); // as a modal run starts: an earlier run's answer is not this one's
        if (modalRuns.empty())
            return 0;
        auto run = modalRuns.front();
        modalRuns.pop_front();
        return run(dialog);
    }
    std::function<void()> whileChoosing; // what happens elsewhere while a file panel is open (once)
    QString chooseFile(const platform::FileRequest& request) override
    {
        fileRequests.push_back(request);
        if (const std::function<void()> elsewhere = std::exchange(whileChoosing, {}))
            elsewhere();
        return take(fileAnswers, QString());
    }
    bool desktopOpens = true; // whether the desktop has a program for what is handed to it
    bool openUrl(const QUrl& url) override
    {
        urlsOpened.push_back(url);
        return desktopOpens;
    }

private:
    template <typename T> static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace testsupport
