#pragma once

#include <QImage>
#include <QWidget>

// A picture view whose background is tiled with the program's pattern picture ("pattern_1"); the
// picture, scaled to fit and centred, is drawn over the pattern.
class Promotion_Pattern : public QWidget {
    Q_OBJECT
public:
    explicit Promotion_Pattern(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

    // The tile: the installed pattern picture, or none when it is not installed.
    static QImage pattern();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};
