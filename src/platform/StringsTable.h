#pragma once

#include <QHash>
#include <QString>

// Strings tables ("key" = "value"; lines) loaded by table name from the program's resources.
// A key the table lacks, or a table that does not exist, stands for itself.
namespace platform {

QString localizedString(const QString& table, const QString& key);

// Parses the text of a strings table; malformed lines are skipped. Exposed for tests.
QHash<QString, QString> parseStringsTable(const QString& text);

} // namespace platform
