#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

// Which picture an item shows: a picture file as it was when the item was given its path (the file's
// path, modification time and length), or a picture held in memory. Making one reads nothing but the
// file's directory entry; the pixels are decoded when first asked for, once for every item that names the
// same file in the same state, and kept at the chain's working size in the shared picture cache. A file changed on disk
// is a new source: items given its path again see the new picture. Copies share everything; any thread may use one.
class PictureSource {
public:
    // What every road that brings a picture in asks before it places anything: the picture's size in
    // pixels as it will be shown (turned upright as the file says), or why the file cannot be used.
    struct Check {
        QSize pixels;
        QString refusal; // names the file; empty when the picture can be used
        bool usable() const { return refusal.isEmpty(); }
    };
    // Decodes the picture once, as every item that shows it will (the working picture stays cached).
    static Check check(const QString& path);
    // What a list of pictures asks before it shows a file: its directory entry and header only, so that a
    // folder of photos is listed at once. A file whose coded data are damaged passes; check() refuses it
    // when it is chosen.
    static Check checkHeader(const QString& path);

    PictureSource() = default; // no picture

    // The file at the path, which should already be clean and absolute or relative to the working
    // folder. No source when the file does not exist.
    static PictureSource forFile(const QString& path);
    static PictureSource forImage(const QImage& image); // no source for a null picture

    bool isNull() const { return !data_; }
    bool isFile() const;
    QString filePath() const; // empty for a picture in memory

    // Names the picture's state: equal keys, equal pixels.
    QByteArray key() const;

    // The decoded picture at its full size; null when there is none or the file is not a picture that can
    // be read. A file larger than the working size is decoded at each call: nothing keeps it.
    QImage decoded() const;
    // The picture scaled down, as the adjustment chain's first step does, to fit the size the chain works
    // at (ImageProcesser::kMaximumSize); a JPEG is decoded straight at that size, other files whole and then
    // reduced, each within the decode's memory bound. Decoded once for all the items that show the file and kept in the
    // picture cache; null when there is no picture. Palette and one-bit pictures are made full colour first,
    // so that every later scaling blends neighbouring pixels.
    QImage working() const;
    // The file's picture read again at `pixels` as shown, through the bounded decode: a JPEG decoded straight
    // at about that size, any other picture whole and then reduced smoothly, keeping its proportions within
    // `pixels` or not as `mode` says. A decode that takes much memory waits for any other such decode to end,
    // so that the workers of a run never hold two at once. Null, with *error set, when it cannot be read. The
    // copies that outputs draw of card backgrounds and picture items are read so.
    static QImage readFileAt(
        const QString& path, const QSize& pixels, Qt::AspectRatioMode mode, QString* error = nullptr);
    // The picture read again from its file at `pixels` (stretched to them, in the full-colour form of the
    // working picture), for an output that draws it with more pixels than the working picture has. Null when
    // the source is no file or the file cannot be read now, which is logged.
    QImage readAgainAt(const QSize& pixels) const;
    // Whether reading the file again at `pixels` stays within the decode's memory bound, by its header.
    bool readableAt(const QSize& pixels) const;

    // The picture's size in pixels, turned as the file says it should be shown, read from the file's
    // header without decoding it where the format allows; empty when there is no picture.
    QSize pixelSize() const;
    // The picture's size in points (pixels over the picture's device pixel ratio).
    QSizeF pointSize() const;
    double devicePixelRatio() const; // 1 for files

private:
    struct Data;
    static std::shared_ptr<const Data> sharedData(const QString& path, const QByteArray& key);
    std::shared_ptr<const Data> data_;
};
