#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A small reader of RTF documents that keeps their plain text: paragraphs and line breaks become "\n",
// tabs "\t", escaped and Unicode characters their characters; font, colour and style tables, pictures,
// document information and other hidden groups are left out. None when the bytes are not RTF or the
// groups do not close.
std::optional<QString> rtfPlainText(const QByteArray& bytes);
