#pragma once

#include <QString>

#include <cstdint>

// Opens path for reading when it is a regular file (a link to one included) of at most maxBytes, without
// blocking on a pipe or device; -1 with a sentence for the user naming the path otherwise. The
// descriptor is the caller's to close.
int openRegularFileForReading(const QString& path, std::int64_t maxBytes, QString* error);
