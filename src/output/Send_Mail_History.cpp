#include "output/Send_Mail_History.h"

#include "output/Mail_Globals.h"

#include <algorithm>

QStringList Send_Mail_History::guestsOf(const QStringList& recipients)
{
    QStringList guests;
    for (const QString& recipient : recipients)
        guests << mailGuest(recipient);
    return guests;
}

void Send_Mail_History::record(
    const QStringList& recipients, const Send_Mail_Request& request, const Send_Mail_Result& result)
{
    QList<Send_Mail_Failure> failures = result.failures;
    for (Send_Mail_Failure& failure : failures)
        failure.address = mailGuest(failure.address);
    if (request.only && isFor(recipients) && request.kind == kind_) {
        // Every mail of a limited run was among those on offer: the others are as they were.
        QSet<QPair<int, QString>> only;
        for (const auto& [step, recipient] : *request.only)
            only.insert({ step, mailGuest(recipient) });
        failures_.removeIf([&only](const Send_Mail_Failure& failure) { return only.contains(failure.key()); });
        failures_ += failures;
    } else {
        failures_ = failures;
        guests_ = guestsOf(recipients);
        kind_ = request.kind;
    }
    recorded_ = true;
}

bool Send_Mail_History::isFor(const QStringList& recipients) const
{
    return recorded_ && !recipients.isEmpty() && guestsOf(recipients) == guests_;
}

int Send_Mail_History::maybeDelivered() const
{
    return int(std::count_if(failures_.cbegin(), failures_.cend(), [](const auto& f) { return f.maybeDelivered; }));
}

Send_Mail_History::Mails Send_Mail_History::failedKeys(bool withMaybeDelivered, const QStringList& recipients) const
{
    Mails keys;
    for (const Send_Mail_Failure& failure : failures_) {
        if (!withMaybeDelivered && failure.maybeDelivered)
            continue;
        // The guest's own recipient of the list as it now stands: the run sends to that text.
        const auto guest = [&failure](const QString& recipient) { return mailGuest(recipient) == failure.address; };
        if (guest(recipients.value(failure.step))) {
            keys.insert({ failure.step, recipients.value(failure.step) });
            continue;
        }
        const auto same = std::find_if(recipients.cbegin(), recipients.cend(), guest);
        if (same != recipients.cend())
            keys.insert({ failure.step, *same });
    }
    return keys;
}
