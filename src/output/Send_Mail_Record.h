#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// The mails the server took, or may have taken: each known by the design, the card mailed and the guest's
// address (trimmed, lower-cased), never by the text of the To field. Kept in the data folder with the mail
// logs, readable by the user alone, so that a guest is not mailed the same card twice unasked, whether the
// To field was corrected, added to or retyped, or the program started again in between.
class Record_Source;

class Send_Mail_Record {
public:
    struct Mail {
        QString design; // the design file's path; empty for a design never saved
        QString card; // which card: a record's values, the card as it stands, or a plain message
        QString guest; // mailGuest() of the recipient
    };
    struct Entry {
        bool taken = true; // false: the whole mail went, but the server's answer never came
        QByteArray subject; // digests of the subject and message that went
        QByteArray body;
        qint64 order = 0; // older entries first
    };

    // The record's file in the data folder.
    static QString path();
    static QByteArray digest(const QString& text);
    // A record's card, by the values it is filled with: the same guest's card after the sheet was sorted.
    static QString cardOf(const Record_Source& source, int record);

    // Reads the record from its file; no file is an empty record. False, with the reason, when it cannot be read.
    bool load(QString* error = nullptr);
    // Writes the record privately, through the checked save; false with the reason.
    bool save(QString* error = nullptr) const;

    std::optional<Entry> find(const Mail& mail) const;
    // A mail taken stays taken; one that may have been taken becomes taken when the server takes it later.
    void add(const Mail& mail, bool taken, const QString& subject, const QString& body);
    int size() const { return int(entries_.size()); }

    // The most mails kept: the oldest go first, so that the file stays small enough to read at each Send.
    static constexpr int maxEntries = 100000;

private:
    static QString keyOf(const Mail& mail);
    QHash<QString, Entry> entries_;
    qint64 next_ = 0;
};
