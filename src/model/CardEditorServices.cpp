#include "model/CardEditorServices.h"

#include "common/Globals.h"

namespace {
CardEditorServices* installed = nullptr;
}

CardEditorServices* editorServices() { return installed; }

void setEditorServices(CardEditorServices* services) { installed = services; }

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

QFont builtInTextFont() { return fontForPostScriptName(Text_Ctrl_Font, 14.0); }

QColor builtInTextColor() { return QColor(Qt::black); }
