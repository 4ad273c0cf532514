#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// A square matrix of QR Code modules, 1 dark and 0 light, as the QR facade hands it out. (Not the
// DataMatrix symbology: the name is the QR facade's.)
class DataMatrix {
public:
    explicit DataMatrix(qint64 dimension = 0) { initWith(dimension); }

    // Makes a matrix of dimension x dimension light modules.
    void initWith(qint64 dimension);
    void set(int value, int x, int y) { _data[index(x, y)] = static_cast<std::int8_t>(value); }
    std::int8_t valueAt(int x, int y) const { return _data[index(x, y)]; }
    qint64 dimension() const { return _dimension; }
    // One line per row from the top, each module as its decimal value, each line ended by "\n".
    QString description() const;

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(_dimension) + x; }

    qint64 _dimension = 0;
    std::vector<std::int8_t> _data; // row by row
};
