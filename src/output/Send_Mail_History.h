#pragma once

#include "output/Send_Mail_Run.h"

// What became of each mail the last runs sent to the same guests: taken by the server, failed, or perhaps
// delivered. The guests are known by their addresses, so a To field retyped with other blanks or capitals
// names the same ones. A run limited to some of these mails changes only those, so that the others stay on
// offer; any other run starts it afresh.
class Send_Mail_History {
public:
    using Mails = QSet<QPair<int, QString>>;

    void record(const QStringList& recipients, const Send_Mail_Request& request, const Send_Mail_Result& result);

    // The recipients as split from the To field name the guests of the last run, in its order.
    bool isFor(const QStringList& recipients) const;
    Send_Mail_Request::Kind kind() const { return kind_; }

    int failed() const { return int(failures_.size()) - maybeDelivered(); } // for sure
    int maybeDelivered() const;
    // The failed mails, as (step, recipient as split from `recipients`), which isFor names.
    Mails failedKeys(bool withMaybeDelivered, const QStringList& recipients) const;

private:
    static QStringList guestsOf(const QStringList& recipients);
    bool recorded_ = false;
    QStringList guests_;
    Send_Mail_Request::Kind kind_ = Send_Mail_Request::Kind::Plain;
    QList<Send_Mail_Failure> failures_; // with each address a guest (mailGuest)
};
