#include "model/CardEditorServices.h"

#include "common/Globals.h"
#include "platform/RegularFile.h"

namespace {
CardEditorServices* installed = nullptr;
thread_local int canvasPaintDepth = 0;
} // namespace

CardEditorServices* editorServices()
{
    return installed;
}

QString graphicClassForTool(int tool)
{
    switch (tool) {
    case 1:
        return QStringLiteral("TSLLine");
    case 2:
        return QStringLiteral("TSLText");
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 13:
    case 14:
    case 15:
        return QStringLiteral("Shape_Control");
    case 8:
    case 9:
        return QStringLiteral("TSLImage");
    case 10:
        return QStringLiteral("TSLBarcode");
    case 11:
    case 12: // the fingerprint: a signature item of kind "F"
        return QStringLiteral("TSLSignature");
    default:
        return QString();
    }
}

Card_Property CardEditorServices::cardSideProperty(int) const
{
    return Card_Property();
}

PictureSource::Check CardEditorServices::checkPicture(const QString& path)
{
    return PictureSource::check(path);
}

QImage CardEditorServices::samplePicture(SamplePicture which) const
{
    const char* name = "no.png";
    switch (which) {
    case SamplePicture::no_image:
        name = "no.png";
        break;
    case SamplePicture::barcode_sample_img:
        name = "barcode_sample.png";
        break;
    case SamplePicture::sign_sample_img:
        name = "sign_sample.png";
        break;
    case SamplePicture::fp_sample_img:
        name = "fingerprints.png";
        break;
    }
    return platform::readPictureFile(Resource_Path + QLatin1Char('/') + QLatin1String(name));
}

CanvasPaintScope::CanvasPaintScope()
{
    ++canvasPaintDepth;
}

CanvasPaintScope::~CanvasPaintScope()
{
    --canvasPaintDepth;
}

bool CanvasPaintScope::isPainting()
{
    return canvasPaintDepth > 0;
}

void setEditorServices(CardEditorServices* services)
{
    installed = services;
}

QFont fontForPostScriptName(const QString& postScriptName, double pointSize)
{
    // PostScript names join the family and the style; fontconfig finds metric-compatible stand-ins
    // for the families (Liberation Serif for Times New Roman).
    QString family = postScriptName;
    QString style;
    const qsizetype dash = postScriptName.indexOf(QLatin1Char('-'));
    if (dash >= 0) {
        family = postScriptName.left(dash);
        style = postScriptName.mid(dash + 1);
    }
    if (family.endsWith(QLatin1String("PS")))
        family.chop(2);
    if (family == QLatin1String("TimesNewRoman"))
        family = QStringLiteral("Times New Roman");
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setItalic(style.contains(QLatin1String("Italic")));
    font.setBold(style.contains(QLatin1String("Bold")));
    return font;
}

QFont builtInTextFont()
{
    return fontForPostScriptName(Text_Ctrl_Font, 14.0);
}

QColor builtInTextColor()
{
    return QColor(Qt::black);
}
