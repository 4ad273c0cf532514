#pragma once

#include "output/Send_Mail_Run.h"

// What became of each mail the last runs sent to the same To field: taken by the server, failed, or perhaps
// delivered. A run limited to some of these mails changes only those, so that the others stay on offer;
// any other run starts it afresh.
class Send_Mail_History {
public:
    using Mails = QSet<QPair<int, QString>>;

    void record(const QString& toText, const Send_Mail_Request& request, const Send_Mail_Result& result);

    bool isFor(const QString& toText) const { return recorded_ && toText == toText_; }
    // The same To field, way of mailing, subject and message: the same mail to the same guests.
    bool sameMail(const QString& toText, const Send_Mail_Request& request) const;
    Send_Mail_Request::Kind kind() const { return kind_; }

    int failed() const { return int(state_.failures.size()) - maybeDelivered(); } // for sure
    int maybeDelivered() const { return state_.maybeDelivered(); }
    Mails failedKeys(bool withMaybeDelivered) const { return state_.failedKeys(withMaybeDelivered); }
    // Of `mails`, those the server took, and those it may have.
    int takenOf(const Mails& mails) const;
    int maybeDeliveredOf(const Mails& mails) const;

private:
    bool recorded_ = false;
    QString toText_;
    Send_Mail_Request::Kind kind_ = Send_Mail_Request::Kind::Plain;
    QString subject_;
    QString body_;
    Send_Mail_Result state_; // its failures and the mails taken
};
