#pragma once

#include "model/TSLGraphic.h"

#include <array>
#include <variant>

// The item record as a table: each archived field with its key, in archive order. One table drives the
// archive writer, the reader and the key list, so the three can never disagree.
namespace tslgraphic_fields {

using FieldPointer = std::variant<QRectF TSLGraphic::*, bool TSLGraphic::*, QColor TSLGraphic::*, double TSLGraphic::*,
    QString TSLGraphic::*, float TSLGraphic::*, int TSLGraphic::*, std::optional<QFont> TSLGraphic::*,
    std::shared_ptr<TSLTextStorage> TSLGraphic::*, QImage TSLGraphic::*>;

struct ArchivedField {
    const char* key;
    FieldPointer field;
};

constexpr int archivedFieldCount = 93;

const std::array<ArchivedField, archivedFieldCount>& archivedFields();

// The keys of archivedFields() as strings, made once: archives of many items share them.
const std::array<QString, archivedFieldCount>& archivedFieldNames();

} // namespace tslgraphic_fields
