#pragma once

#include "platform/PropertyList.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Writes the XML property-list format, UTF-8, tab-indented. Characters that XML 1.0 cannot carry
// (control characters other than tab, line feed and carriage return, unpaired surrogates) are
// written as U+FFFD so that the file stays readable; a carriage return is written as a character
// reference so that XML line-end handling does not turn it into a line feed. Dates carry whole
// seconds. The format has no null: invalid values are left out of their container.
class PlistXmlWriter {
public:
    static QByteArray write(const PlistValue& root);

private:
    void writeValue(const PlistValue& value, int depth);
    void writeIndent(int depth);
    void writeEscaped(const QString& text);
    void writeData(const QByteArray& data, int depth);

    QByteArray out_;
};

} // namespace platform
