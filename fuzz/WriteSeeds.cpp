// Writes the seed corpora of the fuzz targets with the program's own writers: one folder per target under
// the folder given, each file a value, archive, clipboard content or design the program itself produces.
#include "FuzzSupport.h"

#include "editor/DesignFileSamples.h"
#include "model/TSLGraphic.h"
#include "platform/KeyedArchive.h"
#include "platform/PlistSamples.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool writeSeed(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray archived(const TSLGraphic& item)
{
    platform::KeyedArchive archive;
    item.encodeWithCoder(archive);
    return archive.toBytes();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    fuzzsupport::startApplication();
    const QString root = QString::fromLocal8Bit(argv[1]);
    const DesignFileContent design = designsamples::richDesign();
    TSLGraphicList items = design.frontItems;
    items.insert(items.end(), design.backItems.begin(), design.backItems.end());
    const platform::PlistValue values = plistsamples::everyType();
    bool ok = true;

    ok &= writeSeed(root + QStringLiteral("/xml"), QStringLiteral("every-type"), platform::PropertyList::toXml(values));
    ok &= writeSeed(
        root + QStringLiteral("/binary"), QStringLiteral("every-type"), platform::PropertyList::toBinary(values));
    platform::KeyedArchive mixed(QStringLiteral("Mixed"));
    mixed.encodeColor(QStringLiteral("colour"), QColor(10, 20, 30, 40));
    mixed.encodeFont(QStringLiteral("font"), QFont(QStringLiteral("DejaVu Sans"), 12));
    mixed.encodeRect(QStringLiteral("rect"), QRectF(1, 2, 3, 4));
    mixed.encodeString(QStringLiteral("text"), QStringLiteral("Happy birthday"));
    ok &= writeSeed(root + QStringLiteral("/keyed"), QStringLiteral("mixed"), mixed.toBytes());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString name = QStringLiteral("%1-%2").arg(i).arg(items[i]->className());
        ok &= writeSeed(root + QStringLiteral("/item"), name, archived(*items[i]));
        ok &= writeSeed(root + QStringLiteral("/keyed"), name, archived(*items[i]));
        ok &= writeSeed(
            root + QStringLiteral("/clipboard"), name, TSLGraphic::pasteboardDataWithGraphics({ items[i] }));
    }
    ok &= writeSeed(
        root + QStringLiteral("/clipboard"), QStringLiteral("all"), TSLGraphic::pasteboardDataWithGraphics(items));
    ok &= writeSeed(root + QStringLiteral("/design"), QStringLiteral("rich"), encodeDesignFile(design));
    ok &= writeSeed(root + QStringLiteral("/design"), QStringLiteral("empty"), encodeDesignFile(DesignFileContent {}));
    ok &= writeSeed(root + QStringLiteral("/xml"), QStringLiteral("design"), encodeDesignFile(design));
    return ok ? 0 : 1;
}
