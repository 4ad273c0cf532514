#pragma once

#include <QImage>
#include <QRectF>

#include <vector>

// The dark pixels of a module grid (a 2-D symbol's picture before re-sampling) as rectangles spread over
// target: rows that are alike form one band, and the dark pixels of a band one rectangle per run. Every
// edge lies on the grid, so that drawn without antialiasing the modules take whole pixels of whatever
// they are drawn on, and a printer gets a few hundred rectangles rather than a picture.
std::vector<QRectF> Barcode_Module_Runs(const QImage& modules, const QRectF& target);
