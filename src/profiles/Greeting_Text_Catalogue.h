#pragma once

#include <QString>
#include <QStringList>

// The program's built-in greeting texts: for each category key "1" to "12" an ordered list of short
// titles and one of longer messages, the first entry being the one offered first. The texts are constant;
// the lists handed out refer to them without copying.
class Greeting_Text_Catalogue {
public:
    // The lists of the category whose key equals `key` exactly; any other text ("01", " 1", "13", empty)
    // selects no category and gives an empty list.
    static QStringList titles(const QString& key);
    static QStringList messages(const QString& key);
};
