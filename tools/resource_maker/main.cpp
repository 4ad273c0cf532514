// Makes the resources the program ships that are drawn or laid out rather than stored: the picture
// library's clip-art, the built-in templates, the user guide and the pictures of the maker's other
// products. Run at build time:
//   tessaline_resource_maker <resource folder>
#include "Builtin_Templates.h"
#include "Clip_Art.h"
#include "Help_Guide.h"
#include "Promotion_Pictures.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaline_resource_maker <resource folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!writeClipArt(folder.filePath(QStringLiteral("LibraryImage")))) {
        std::fprintf(stderr, "cannot write the clip-art\n");
        return 1;
    }
    if (!writeBuiltinTemplates(folder.filePath(QStringLiteral("Templates")))) {
        std::fprintf(stderr, "cannot write the built-in templates\n");
        return 1;
    }
    if (!writeHelpGuide(folder.filePath(QStringLiteral("Help.pdf")))) {
        std::fprintf(stderr, "cannot write the user guide\n");
        return 1;
    }
    if (!writePromotionPictures(folder.path())) {
        std::fprintf(stderr, "cannot write the product pictures\n");
        return 1;
    }
    return 0;
}
