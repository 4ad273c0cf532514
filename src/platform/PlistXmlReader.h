#pragma once

#include "platform/PropertyList.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

#include <pugixml.hpp>

namespace platform {

// Reads the XML property-list format. The whole document is parsed at once, then checked element by
// element. Entities are never expanded: a document that declares any ends the read, as does a reference
// to anything but the five predefined entities and character references. Elements outside the format,
// a key outside a dict, a key without a value, text that is not well-formed UTF-8 or holds characters
// XML cannot carry, an encoding other than UTF-8, UTF-16 or Latin-1, and nesting deeper than a fixed
// limit end the read with a reason.
class PlistXmlReader {
public:
    static std::optional<PlistValue> read(const QByteArray& bytes, QString* error);

private:
    explicit PlistXmlReader(const QByteArray& bytes);

    std::optional<PlistValue> readDocument();
    bool checkProlog(const pugi::xml_node& node);
    std::optional<PlistValue> readValue(const pugi::xml_node& node, int depth);
    std::optional<PlistValue> readScalar(const pugi::xml_node& node);
    std::optional<PlistValue> readArray(const pugi::xml_node& node, int depth);
    std::optional<PlistValue> readDict(const pugi::xml_node& node, int depth);
    bool readRawText(const pugi::xml_node& node, std::string& text);
    std::optional<QString> readText(const pugi::xml_node& node);
    bool onlySpaceInside(const pugi::xml_node& node, const char* element);
    std::nullopt_t fail(const QString& reason, const pugi::xml_node& node);
    std::nullopt_t fail(const QString& reason, std::ptrdiff_t offset);

    const QByteArray& bytes_;
    pugi::xml_document document_;
    QString error_;
};

} // namespace platform
