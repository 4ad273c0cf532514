#include "info/Link_Style.h"

#include <QPushButton>

void applyLinkStyle(QPushButton& button)
{
    button.setFlat(true);
    button.setCursor(Qt::PointingHandCursor);
    button.setStyleSheet(QStringLiteral("QPushButton { color: blue; font-weight: bold; font-size: 11pt; "
                                        "text-decoration: underline; background-color: rgb(241, 244, 250); "
                                        "border: none; text-align: left; padding: 2px; }"));
}
