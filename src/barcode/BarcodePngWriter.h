#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// PNG files of barcode pictures. A barcode picture has few colours (bars, background and the blends of
// its text edges), so it is written as a palette of 1, 2, 4 or 8 bits a pixel, with the colours as they
// are, transparency included; a picture of more than 256 colours is written as 8-bit RGBA. A picture of
// one byte a pixel keeps its own colour table as the palette. Runs and rows equal to the one above are
// compressed without scanning them twice. The picture's resolution goes into the file. Safe on any thread.
class BarcodePngWriter {
public:
    // The PNG bytes of a picture; empty for a null picture or when compression fails.
    static QByteArray pngData(const QImage& image);
    // Writes the PNG through a temporary file renamed over the old one; false with the reason on failure.
    static bool write(const QImage& image, const QString& path, QString* error = nullptr);
    // As write, for one of many files made in a row: the temporary file is renamed over the name without
    // waiting for the disk, so a failed write still leaves no half file under the name.
    static bool writeBatch(const QImage& image, const QString& path, QString* error = nullptr);
};
