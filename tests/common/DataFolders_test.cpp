#include "common/File_Functions.h"
#include "common/Globals.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

TEST(DataFolders, CheckPathCreatesTheFoldersOnceAndKeepsTheirContents)
{
    const QString saved = Resource_Path;
    Resource_Path = testsupport::makeTempFolder(QStringLiteral("folders"));
    Data_Folder_Path = Resource_Path + QStringLiteral("/DataSet");
    Check_Path_And_Create_Files();
    for (const char* folder : { "DataSet", "Background", "Fill_Style_Image", "LibraryImage", "Templates", "Templates/User" })
        EXPECT_TRUE(QFileInfo(Resource_Path + QLatin1Char('/') + QLatin1String(folder)).isDir()) << folder;

    QFile marker(Data_Folder_Path + QStringLiteral("/Guests.txt"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("Ada\n");
    marker.close();
    Check_Path_And_Create_Files();
    EXPECT_TRUE(QFileInfo::exists(marker.fileName()));
    Resource_Path = saved;
}

TEST(DataFolders, PrepareSeedsMissingFilesWithoutOverwriting)
{
    const QString savedResource = Resource_Path;
    const QString savedData = Data_Folder_Path;
    const QString folder = testsupport::makeTempFolder(QStringLiteral("seed"));
    qputenv("TESSALINE_DATA_DIR", folder.toUtf8());
    QFile own(folder + QStringLiteral("/no.png"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("mine");
    own.close();
    using testsupport::fileMode;
    const mode_t keptUmask = ::umask(022);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0750), 0);

    ASSERT_TRUE(Prepare_Resource_Folder());
    EXPECT_EQ(fileMode(folder), 0750u) << "the user's own folder is left as it was";
    EXPECT_EQ(fileMode(folder + QStringLiteral("/Templates/User")), 0700u) << "what the program makes is private";
    EXPECT_EQ(Resource_Path, folder);
    EXPECT_EQ(Data_Folder_Path, folder + QStringLiteral("/DataSet"));
    QFile check(folder + QStringLiteral("/no.png"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("mine"));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/sign_sample.png")));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/Fill_Style_Image")).isDir());
    // A first start makes the data folder, and any folder on the way to it, for its owner alone.
    qputenv("TESSALINE_DATA_DIR", (folder + QStringLiteral("/new/data")).toUtf8());
    ASSERT_TRUE(Prepare_Resource_Folder());
    EXPECT_EQ(std::make_pair(fileMode(folder + QStringLiteral("/new")), fileMode(Resource_Path)),
        std::make_pair(0700u, 0700u));
    ::umask(keptUmask);

    qputenv("TESSALINE_DATA_DIR", savedResource.toUtf8());
    Resource_Path = savedResource;
    Data_Folder_Path = savedData;
}

TEST(DeleteFile, RemovesFilesAndFoldersButRefusesParentSteps)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("delete"));
    QDir().mkpath(folder + QStringLiteral("/inner/deeper"));
    QFile file(folder + QStringLiteral("/inner/a.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    Delete_File(folder + QStringLiteral("/inner/deeper/../a.txt"));
    EXPECT_TRUE(QFileInfo::exists(file.fileName()));
    Delete_File(file.fileName());
    EXPECT_FALSE(QFileInfo::exists(file.fileName()));
    Delete_File(folder + QStringLiteral("/inner"));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/inner")));
    Delete_File(folder + QStringLiteral("/never-there")); // no error, nothing happens
}

TEST(HelpFile, MissingHelpFileIsReported)
{
    testsupport::ScriptedResponder responder;
    const QString saved = Resource_Path;
    Resource_Path = testsupport::makeTempFolder(QStringLiteral("nohelp"));
    Open_Help_File();
    ASSERT_EQ(responder.messages.size(), 1u);
    EXPECT_EQ(responder.messages[0].text, QStringLiteral("\nHelp file does not exist!"));
    Resource_Path = saved;
}
