#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class TSLDocument;
struct TSLError;
struct TSLRenderingSide;

extern const QString TSLPDFTypeName;  // "com.adobe.pdf"
extern const QString TSLTIFFTypeName; // "public.tiff"

// The document's front list as data of a type: our own property list, PDF or TIFF. The rendering types
// need the rendering view, which lives above the model, so this is where the three meet. Nothing for an
// unknown type; TIFF of an empty drawing area gives error code 3.
std::optional<QByteArray> dataOfType(const TSLDocument& document, const QString& typeName, const TSLRenderingSide& side,
                                     TSLError* error);
