#include "data/Zip_Package.h"

#include "ZipTestSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every file below a folder, relative names.
QStringList filesBelow(const QString& folder)
{
    QStringList names;
    const QDir root(folder);
    std::function<void(const QString&)> walk = [&](const QString& path) {
        for (const QFileInfo& info :
            QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            names.append(root.relativeFilePath(info.filePath()));
            if (info.isDir() && !info.isSymLink())
                walk(info.filePath());
        }
    };
    walk(folder);
    names.sort();
    return names;
}

struct SizeLimitGuard {
    explicit SizeLimitGuard(std::int64_t bytes) { Zip_Package::setSizeLimit(bytes); }
    ~SizeLimitGuard() { Zip_Package::setSizeLimit(0); }
};

} // namespace

TEST(ZipPackage, EntryNamesThatLeaveTheFolderAreRefused)
{
    struct Case {
        const char* name;
        const char* safe;
    } cases[] = {
        { "xl/worksheets/sheet1.xml", "xl/worksheets/sheet1.xml" },
        { "xl\\worksheets\\sheet2.xml", "xl/worksheets/sheet2.xml" },
        { "./a//b.txt", "a/b.txt" },
        { "folder/", "folder" },
        { "../evil", "" },
        { "a/../../evil", "" },
        { "a/..", "" },
        { "/abs", "" },
        { "\\abs", "" },
        { "C:/windows/x", "" },
        { "c:evil", "" },
        { "", "" },
        { "./", "" },
        { "..\\up", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Zip_Package::safeEntryName(QString::fromUtf8(c.name)), QString::fromUtf8(c.safe)) << c.name;
}

TEST(ZipPackage, HostileEntriesUnpackNothingOutsideTheDestination)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-hostile"));
    const QString destination = base + QStringLiteral("/inside/dest");
    const QString outside = base + QStringLiteral("/outside");
    QDir().mkpath(outside);
    const QString archive = base + QStringLiteral("/hostile.zip");
    ASSERT_TRUE(ziptest::writeZip(archive,
        {
            { QStringLiteral("good.txt"), "kept" },
            { QStringLiteral("../evil"), "up one" },
            { QStringLiteral("../../outside/evil2"), "up two" },
            { QStringLiteral("/abs"), "absolute" },
            { QStringLiteral("C:\\drive.txt"), "drive" },
            { QStringLiteral("link"), outside.toUtf8(), true },
            { QStringLiteral("link/through.txt"), "through the link" },
            { QStringLiteral("sub\\back.txt"), "backslash" },
        }));
    Zip_Error error;
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(archive, destination, true, QString(), &error));
    EXPECT_EQ(error.code, Zip_Package::UnsafeEntry);
    EXPECT_EQ(filesBelow(destination), (QStringList { "good.txt", "link", "link/through.txt", "sub", "sub/back.txt" }))
        << "the link entry must not become a link";
    EXPECT_FALSE(QFileInfo(destination + QStringLiteral("/link")).isSymLink());
    EXPECT_TRUE(filesBelow(outside).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/inside/evil")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/abs")));
    EXPECT_EQ(readFile(destination + QStringLiteral("/sub/back.txt")), QByteArray("backslash"));
}

TEST(ZipPackage, ExistingLinkInTheDestinationIsNeverFollowed)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-planted"));
    const QString destination = base + QStringLiteral("/dest");
    const QString outside = base + QStringLiteral("/outside");
    QDir().mkpath(destination);
    QDir().mkpath(outside);
    ASSERT_TRUE(QFile::link(outside, destination + QStringLiteral("/xl")));
    ASSERT_TRUE(QFile::link(outside + QStringLiteral("/victim.txt"), destination + QStringLiteral("/file.txt")));
    writeFile(outside + QStringLiteral("/victim.txt"), "original");
    const QString archive = base + QStringLiteral("/a.zip");
    ASSERT_TRUE(ziptest::writeZip(
        archive, { { QStringLiteral("xl/workbook.xml"), "planted" }, { QStringLiteral("file.txt"), "overwritten" } }));
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(archive, destination));
    EXPECT_EQ(filesBelow(outside), QStringList { "victim.txt" });
    EXPECT_EQ(readFile(outside + QStringLiteral("/victim.txt")), QByteArray("original"));
}

TEST(ZipPackage, OverwriteDecidesWhetherExistingFilesAreReplaced)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-overwrite"));
    const QString archive = base + QStringLiteral("/a.zip");
    ASSERT_TRUE(ziptest::writeZip(archive, { { QStringLiteral("a.txt"), "from zip" } }));
    const QString destination = base + QStringLiteral("/dest");
    writeFile(destination + QStringLiteral("/a.txt"), "mine");
    EXPECT_TRUE(Zip_Package::unzipFileAtPath(archive, destination, false, QString()));
    EXPECT_EQ(readFile(destination + QStringLiteral("/a.txt")), QByteArray("mine"));
    EXPECT_TRUE(Zip_Package::unzipFileAtPath(archive, destination, true, QString()));
    EXPECT_EQ(readFile(destination + QStringLiteral("/a.txt")), QByteArray("from zip"));
}

TEST(ZipPackage, FailuresGiveTheirCodes)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-codes"));
    const QString empty = base + QStringLiteral("/empty.zip");
    ASSERT_TRUE(ziptest::writeZip(empty, {}));
    const QString notZip = base + QStringLiteral("/not.zip");
    writeFile(notZip, "this is plain text, not an archive");
    // Two entries of one name (the same file once made safe): which one is meant cannot be known.
    const QString twice = base + QStringLiteral("/twice.zip");
    ASSERT_TRUE(ziptest::writeZip(twice,
        { { QStringLiteral("first.txt"), "first" }, { QStringLiteral("a/b.txt"), "one" },
            { QStringLiteral("a//b.txt"), "two" } }));

    struct Case {
        QString path;
        int code;
    } cases[] = {
        { empty, Zip_Package::FirstFileFailed },
        { notZip, Zip_Package::OpenFailed },
        { base + QStringLiteral("/missing.zip"), Zip_Package::OpenFailed },
        { twice, Zip_Package::DuplicateEntry },
    };
    for (const Case& c : cases) {
        Zip_Error error;
        EXPECT_FALSE(Zip_Package::unzipFileAtPath(c.path, base + QStringLiteral("/out"), true, QString(), &error));
        EXPECT_EQ(error.code, c.code) << c.path.toStdString();
        EXPECT_FALSE(error.description.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/out/first.txt"))) << "nothing is unpacked before the refusal";
}

TEST(ZipPackage, TruncatedArchiveFailsAndLeavesNoPartFile)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-truncated"));
    const QString archive = base + QStringLiteral("/a.zip");
    QByteArray big;
    for (int i = 0; i < 200000; ++i)
        big += QByteArray::number(i * 7919 % 104729) + ' ';
    ASSERT_TRUE(ziptest::writeZip(archive, { { QStringLiteral("big.txt"), big } }));
    QByteArray bytes = readFile(archive);
    // Corrupt the compressed data in the middle: the CRC check or the inflater must notice.
    for (int i = bytes.size() / 3; i < bytes.size() / 3 + 64; ++i)
        bytes[i] = char(bytes[i] ^ 0x5A);
    writeFile(archive, bytes);
    Zip_Error error;
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(archive, base + QStringLiteral("/out"), true, QString(), &error));
    EXPECT_EQ(error.code, Zip_Package::Damaged);
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/out/big.txt")));

    writeFile(archive, bytes.left(bytes.size() / 2));
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(archive, base + QStringLiteral("/out2"), true, QString(), &error));
}

TEST(ZipPackage, SizeLimitsStopDeclaredAndInflatedBombs)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-bomb"));
    const QByteArray zeros(256 * 1024, '\0');

    // Declared: a header claiming 1.5 GiB is refused before a byte is written.
    const QString declared = base + QStringLiteral("/declared.zip");
    ASSERT_TRUE(ziptest::writeZip(declared, { { QStringLiteral("huge.xml"), "x", false, (std::uint64_t(3) << 29) } }));
    Zip_Error error;
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(declared, base + QStringLiteral("/d"), true, QString(), &error));
    EXPECT_EQ(error.code, Zip_Package::TooLarge) << error.description.toStdString();
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/d/huge.xml")));

    // Inflated: a header that lies small never yields more than it declares; the entry is damaged.
    SizeLimitGuard limit(64 * 1024);
    const QString lying = base + QStringLiteral("/lying.zip");
    ASSERT_TRUE(ziptest::writeZip(lying, { { QStringLiteral("bomb.xml"), zeros, false, 10 } }));
    error = {};
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(lying, base + QStringLiteral("/l"), true, QString(), &error));
    EXPECT_EQ(error.code, Zip_Package::Damaged);
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/l/bomb.xml")));

    // An honest header over the limit.
    const QString honest = base + QStringLiteral("/honest.zip");
    ASSERT_TRUE(ziptest::writeZip(honest, { { QStringLiteral("big.xml"), zeros } }));
    error = {};
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(honest, base + QStringLiteral("/h"), true, QString(), &error));
    EXPECT_EQ(error.code, Zip_Package::TooLarge);
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/h/big.xml")));

    // Together: entries each under the limit, their sum over it.
    const QString many = base + QStringLiteral("/many.zip");
    const QByteArray part(40 * 1024, 'a');
    ASSERT_TRUE(ziptest::writeZip(many, { { QStringLiteral("1"), part }, { QStringLiteral("2"), part } }));
    error = {};
    EXPECT_FALSE(Zip_Package::unzipFileAtPath(many, base + QStringLiteral("/m"), true, QString(), &error));
    EXPECT_EQ(error.code, Zip_Package::TooLarge);
}

TEST(ZipPackage, PackedFolderHoldsFilesAndEmptyFoldersUnderRelativeNames)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-pack"));
    writeFile(base + QStringLiteral("/folder/a.txt"), "alpha");
    writeFile(base + QStringLiteral("/folder/deep/b.txt"), "beta");
    QDir().mkpath(base + QStringLiteral("/folder/e"));
    writeFile(base + QStringLiteral("/top.txt"), "top");
    // Each entry carries its file's date: unpacked, the file has it again (to the format's two seconds).
    const QDateTime written(QDate(2020, 5, 17), QTime(10, 20, 30));
    const timespec times[2] = { { written.toSecsSinceEpoch(), 0 }, { written.toSecsSinceEpoch(), 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(base + QStringLiteral("/top.txt")).constData(), times, 0), 0);
    const QString archive = base + QStringLiteral("/out/packed.zip");
    QDir().mkpath(base + QStringLiteral("/out"));
    ASSERT_TRUE(Zip_Package::createZipFileAtPath(
        archive, { base + QStringLiteral("/folder/"), base + QStringLiteral("/top.txt") }));

    const QString back = base + QStringLiteral("/back");
    ASSERT_TRUE(Zip_Package::unzipFileAtPath(archive, back));
    EXPECT_EQ(filesBelow(back),
        (QStringList { "folder", "folder/a.txt", "folder/deep", "folder/deep/b.txt", "folder/e", "top.txt" }));
    EXPECT_EQ(readFile(back + QStringLiteral("/folder/deep/b.txt")), QByteArray("beta"));
    EXPECT_EQ(readFile(back + QStringLiteral("/top.txt")), QByteArray("top"));
    EXPECT_LE(qAbs(QFileInfo(back + QStringLiteral("/top.txt")).lastModified().secsTo(written)), 2);
}

TEST(ZipPackage, PackingReportsAnArchiveThatCannotBeStored)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-store"));
    writeFile(base + QStringLiteral("/one.txt"), "one");
    // A folder stands where the archive should go: nothing may replace it.
    QDir().mkpath(base + QStringLiteral("/taken.zip/inside"));
    EXPECT_FALSE(
        Zip_Package::createZipFileAtPath(base + QStringLiteral("/taken.zip"), base + QStringLiteral("/one.txt")));
    EXPECT_TRUE(QFileInfo(base + QStringLiteral("/taken.zip/inside")).isDir());
    EXPECT_FALSE(Zip_Package::createZipFileAtPath(
        base + QStringLiteral("/no/such/folder/a.zip"), base + QStringLiteral("/one.txt")));
    // A path that does not exist is reported, the others are still packed.
    const QString partial = base + QStringLiteral("/partial.zip");
    EXPECT_FALSE(Zip_Package::createZipFileAtPath(
        partial, { base + QStringLiteral("/missing.txt"), base + QStringLiteral("/one.txt") }));
    ASSERT_TRUE(Zip_Package::unzipFileAtPath(partial, base + QStringLiteral("/back")));
    EXPECT_EQ(readFile(base + QStringLiteral("/back/one.txt")), QByteArray("one"));
}

TEST(ZipPackage, WrittenDataEntriesCarryTheirDate)
{
    const QString base = testsupport::makeTempFolder(QStringLiteral("zip-data"));
    const QString archive = base + QStringLiteral("/d.zip");
    {
        Zip_Package package(archive);
        ASSERT_TRUE(package.open());
        EXPECT_TRUE(package.writeData("hello", QStringLiteral("dir/hello.txt")));
        EXPECT_TRUE(package.close());
    }
    ASSERT_TRUE(Zip_Package::unzipFileAtPath(archive, base + QStringLiteral("/out")));
    const QFileInfo info(base + QStringLiteral("/out/dir/hello.txt"));
    EXPECT_EQ(readFile(info.filePath()), QByteArray("hello"));
    EXPECT_LT(qAbs(info.lastModified().secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_EQ(Zip_Package::_dateFor1980(), QDateTime(QDate(1980, 1, 1), QTime(0, 0)));
}
