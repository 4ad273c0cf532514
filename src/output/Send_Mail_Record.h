#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// The mails the server took, or may have taken: each known by the design, the card mailed and the guest's
// address (trimmed, lower-cased), never by the text of the To field nor by the design's file. Kept in the data
// folder with the mail logs, readable by the user alone, and written as a run goes, a line for each mail the
// server takes, so that a guest is not mailed the same card twice unasked, whether the To field was corrected,
// added to or retyped, the design saved under another name, or the program killed and started again in between.
class Batch_Snapshot;

class Send_Mail_Record {
public:
    struct Mail {
        QString design; // the design's identity; empty for a plain message, which no design makes
        QString card; // which card: what a record's card shows, or a plain message
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
    // A record's card, by what it shows: the values the shown items of the mailed sides ("F", "B" or "BOTH") draw
    // from the record, the sides and the pictures' name. The same guest's card after the sheet was sorted, or
    // after a column no shown item draws changed, is the same card.
    static QString cardOf(
        const Batch_Snapshot& snapshot, int record, const QString& cardSide, const QString& pictureName);

    // Reads the record from its file; no file is an empty record. False, with the reason, when it cannot be read
    // whole: a file that is not the record, or damaged lines, named by their numbers (the others are read).
    bool load(QString* error = nullptr);
    // Whether mails may be added to the file as load found it: there was none, or it is the record.
    bool appendable() const { return appendable_; }
    // Whether the file holds more lines than the record keeps, so that a save should shorten it.
    bool overLong() const { return lines_ > maxEntries; }
    // Writes the record privately, through the checked save, keeping the newest maxEntries; false with the reason.
    bool save(QString* error = nullptr) const;

    std::optional<Entry> find(const Mail& mail) const;
    int size() const { return int(entries_.size()); }

    // Adds one mail at the end of the record's file, on the disk before it returns; false with the reason. A mail
    // taken stays taken; one that may have been taken becomes taken when the server takes it later.
    static bool append(const Mail& mail, bool taken, const QString& subject, const QString& body, QString* error);

    // The most mails kept: the oldest go first, so that the file stays small enough to read at each Send.
    static constexpr int maxEntries = 100000;

private:
    static QString keyOf(const Mail& mail);
    void merge(const QString& key, Entry entry);
    QHash<QString, Entry> entries_;
    qint64 next_ = 0;
    qint64 lines_ = 0; // of mails in the file
    bool appendable_ = true;
};
