#include "info/Link_Style.h"

#include "common/Window_Look.h"

#include <QPushButton>

void applyLinkStyle(QPushButton& button)
{
    button.setFlat(true);
    button.setCursor(Qt::PointingHandCursor);
    button.setStyleSheet(QStringLiteral("QPushButton { font-weight: bold; font-size: 11pt; text-decoration: underline; "
                                        "border: none; text-align: left; padding: 2px; }"));
    // The colours come from the palette, so that they follow a change of the desktop's theme.
    followApplicationPalette(button, [&button] {
        QPalette link = button.palette();
        link.setColor(QPalette::ButtonText, linkColour());
        link.setColor(QPalette::Button, smallWindowBackground());
        button.setPalette(link);
    });
}
