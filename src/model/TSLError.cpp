#include "model/TSLError.h"

#include "platform/StringsTable.h"

const QString TSLErrorDomain = QStringLiteral("TessalineErrorDomain");

TSLError TSLErrorWithCode(int code)
{
    const QString descriptionKey = QStringLiteral("description%1").arg(code);
    const QString reasonKey = QStringLiteral("failureReason%1").arg(code);
    QString description = platform::localizedString(QStringLiteral("TSLError"), descriptionKey);
    QString reason = platform::localizedString(QStringLiteral("TSLError"), reasonKey);
    if (description == descriptionKey)
        description = QStringLiteral("Tessaline could not complete the operation because an unknown error occurred.");
    if (reason == reasonKey)
        reason = QStringLiteral("An unknown error occurred.");
    return { TSLErrorDomain, code, description, reason };
}
