#include "canvas/TSLDocument_Data.h"

#include "canvas/TSLRenderingView.h"
#include "model/TSLDocument.h"

const QString TSLPDFTypeName = QStringLiteral("com.adobe.pdf");
const QString TSLTIFFTypeName = QStringLiteral("public.tiff");

std::optional<QByteArray> dataOfType(const TSLDocument& document, const QString& typeName, const TSLRenderingSide& side,
                                     TSLError* error)
{
    if (typeName == TSLPDFTypeName || typeName == QLatin1String("application/pdf"))
        return TSLRenderingView::pdfDataWithGraphics_data(document.graphics(), side);
    if (typeName == TSLTIFFTypeName || typeName == QLatin1String("image/tiff"))
        return TSLRenderingView::tiffDataWithGraphics(document.graphics(), error);
    return document.dataOfType(typeName, error);
}
