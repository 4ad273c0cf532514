#pragma once

#include <QFont>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class QTextLayout;

// The laid-out text of one text item, kept between paints and laid out again only when what it was made
// from changes: the text, the font, the kerning, the alignment or the size of the box. Items are records
// whose fields are written directly, so every use compares all of them rather than relying on being told.
// A copy starts empty (a layout serves one item), and uses are serialised, so an item may be drawn from
// any thread.
class TSLTextLayoutCache {
public:
    struct Inputs {
        QString text;
        QFont font;
        double kerning = 0.0;
        int alignment = 0;
        double width = 0.0;
        double maxHeight = 0.0;

        bool operator==(const Inputs& other) const;
    };

    TSLTextLayoutCache();
    ~TSLTextLayoutCache();
    TSLTextLayoutCache(const TSLTextLayoutCache&);
    TSLTextLayoutCache& operator=(const TSLTextLayoutCache&);

    // Runs use with the layout of these inputs, made now only when they differ from the last ones.
    void withLayout(const Inputs& inputs, const std::function<void(const QTextLayout&)>& use);

    // Layouts made by all items since the program started; it grows by one for each layout made.
    static quint64 layoutsMade();

private:
    std::mutex mutex_;
    Inputs inputs_;
    std::unique_ptr<QTextLayout> layout_;
    static std::atomic<quint64> made_;
};
