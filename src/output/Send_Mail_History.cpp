#include "output/Send_Mail_History.h"

#include <algorithm>

void Send_Mail_History::record(const QString& toText, const Send_Mail_Request& request, const Send_Mail_Result& result)
{
    if (request.only && isFor(toText) && request.kind == kind_) {
        // Every mail of a limited run was among those on offer: the others are as they were.
        state_.failures.removeIf(
            [&request](const Send_Mail_Failure& failure) { return request.only->contains(failure.key()); });
        state_.failures += result.failures;
        state_.taken += result.taken;
    } else {
        state_.failures = result.failures;
        state_.taken = result.taken;
        toText_ = toText;
        kind_ = request.kind;
    }
    recorded_ = true;
    subject_ = request.subject;
    body_ = request.body;
}

bool Send_Mail_History::sameMail(const QString& toText, const Send_Mail_Request& request) const
{
    return isFor(toText) && request.kind == kind_ && request.subject == subject_ && request.body == body_;
}

int Send_Mail_History::takenOf(const Mails& mails) const
{
    return int(
        std::count_if(mails.cbegin(), mails.cend(), [this](const auto& mail) { return state_.taken.contains(mail); }));
}

int Send_Mail_History::maybeDeliveredOf(const Mails& mails) const
{
    return int(
        std::count_if(state_.failures.cbegin(), state_.failures.cend(), [&mails](const Send_Mail_Failure& failure) {
            return failure.maybeDelivered && mails.contains(failure.key());
        }));
}
