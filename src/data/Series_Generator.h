#pragma once

#include <QString>

#include <cstdint>

// The rules by which the series generator makes its values: sequential numbers with a prefix, a suffix and
// optional zero padding, one constant value repeated, or random numbers of a given digit count. Values are
// made one at a time, so a long series never has to be held in memory; the count is 64-bit, so every run
// ends, whatever the bounds.
class Series_Generator {
public:
    enum class Mode { Sequential, Constant, Random };

    struct Settings {
        Mode mode = Mode::Sequential;
        QString prefix, suffix, from, to; // sequential, texts as typed
        bool padWithZeros = false;
        QString value, count; // constant
        QString randomPrefix, randomSuffix, length, randomCount; // random
    };

    explicit Series_Generator(const Settings& settings);

    // The message that refuses the settings, or an empty text when they are fine. `field` names the field
    // that should take the focus ("from", "to", "value", "count", "length"), when there is one. Settings that
    // would make a series larger than a series file may be are refused here, before any value is made.
    static QString validate(const Settings& settings, QString* field = nullptr);

    qint64 total() const { return total_; }
    // The size in bytes of the series file the values make: each value as one line of UTF-8 and its "\n".
    qint64 fileBytes() const;
    qint64 made() const { return made_; }
    bool atEnd() const { return made_ >= total_; }
    QString next(); // the next value; call only while !atEnd()

    // Integer value of a text as the C library reads it: leading blanks, an optional sign, the leading digits;
    // no digits read 0. Values beyond 32 bits stop at the nearest 32-bit bound.
    static int intValue(const QString& text);
    // Whether the text's value (read as intValue reads it) lies within 32 bits; validate() refuses one
    // that does not.
    static bool fitsInt(const QString& text);
    static QString PadZero(const QString& text, int length);
    static quint32 getRandomNumberBetweenMin(quint32 min, quint32 max);
    // The range of a length text "1" to "9"; false for any other text.
    static bool rangeOfLength(const QString& length, quint32* min, quint32* max);

private:
    static qint64 wideValue(const QString& text); // as intValue, without the 32-bit stop
    // The characters the sequential numbers first_ .. first_ + total_ - 1 take, padding included.
    qint64 numberCharacters() const;
    Settings settings_;
    qint64 total_ = 0;
    qint64 made_ = 0;
    qint64 first_ = 0; // sequential
    int padLength_ = 0;
    quint32 lastRandom_ = 0;
};
