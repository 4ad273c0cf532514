#pragma once

#include <QString>
#include <QStringList>

// The title and message lists that a greeting window offers, with the entry shown from each. The
// invitation wizard and the greeting-text picker each own one; the fields keep the names both windows use.
// The counts follow the lists on every load; the indexes are the windows' to move.
class Greeting_Text_Lists {
public:
    // Both lists become the catalogue lists of the category in Event_Type (empty when it names none);
    // both indexes go back to the first entry.
    void Load_Msg_And_Title_According_Event();

    // Both lists become the lines of "Title.txt" and "Message.txt" of the data folder; a file that is
    // missing or not valid UTF-8 gives no list. The indexes are left as they are.
    void Load_Msg_And_Title();

    // The entry at the index, or an empty text when the list has none there (no list, or an index
    // outside it), so that stepping over an empty list never reads past its end.
    QString Get_Title() const;
    QString Get_Message() const;

    QStringList Title_Array;
    QStringList Message_Array;
    qint32 title_index = 0;
    qint32 message_index = 0;
    qint32 title_count = 0;
    qint32 message_count = 0;
};
