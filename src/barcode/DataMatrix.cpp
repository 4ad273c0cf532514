#include "barcode/DataMatrix.h"

void DataMatrix::initWith(qint64 dimension)
{
    _dimension = dimension > 0 ? dimension : 0;
    _data.assign(static_cast<size_t>(_dimension * _dimension), 0);
}

QString DataMatrix::description() const
{
    QString text;
    text.reserve(static_cast<int>(_dimension * (_dimension + 1)));
    for (int y = 0; y < _dimension; ++y) {
        for (int x = 0; x < _dimension; ++x)
            text += QString::number(valueAt(x, y));
        text += QLatin1Char('\n');
    }
    return text;
}
