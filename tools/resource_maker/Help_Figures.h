#pragma once

#include <QImage>

// The guide's pictures, drawn as plain sketches of the program's windows.
namespace Help_Figures {

QImage startScreen();
QImage editorWindow();
QImage cardItems();
QImage dataSources();
QImage printSheet();
QImage exportAndMail();

} // namespace Help_Figures
