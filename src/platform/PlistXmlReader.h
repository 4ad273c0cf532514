#pragma once

#include "platform/PropertyList.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <optional>

namespace platform {

// Reads the XML property-list format. The document's DTD is never loaded; entity references that the
// parser cannot expand, elements outside the format, a key outside a dict, a key without a value and
// nesting deeper than a fixed limit end the read with a reason.
class PlistXmlReader {
public:
    static std::optional<PlistValue> read(const QByteArray& bytes, QString* error);

private:
    explicit PlistXmlReader(const QByteArray& bytes);

    std::optional<PlistValue> readDocument();
    std::optional<PlistValue> readValue(int depth);
    std::optional<PlistValue> readArray(int depth);
    std::optional<PlistValue> readDict(int depth);
    std::optional<QString> readText();
    QXmlStreamReader::TokenType nextToken();
    std::nullopt_t fail(const QString& reason);

    QXmlStreamReader xml_;
    QString error_;
};

} // namespace platform
