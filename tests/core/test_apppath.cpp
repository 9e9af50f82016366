#include "core/AppPath.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Case {
    const char *home, *exe, *installBin, *userData, *expected;
};

class DataFolderRule : public ::testing::TestWithParam<Case> {};

TEST_P(DataFolderRule, PicksTheFolder) {
    const Case c = GetParam();
    EXPECT_EQ(dataFolderFor(QString::fromUtf8(c.home), QString::fromUtf8(c.exe),
                            QString::fromUtf8(c.installBin), QString::fromUtf8(c.userData)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataFolderRule,
    ::testing::Values(
        // The environment override wins and loses its trailing separator.
        Case{"/tmp/vault/", "/usr/bin", "/usr/bin", "/home/u/.local/share/Ombrivo", "/tmp/vault"},
        // Installed: the user's application-data folder.
        Case{"", "/usr/bin", "/usr/bin", "/home/u/.local/share/Ombrivo",
             "/home/u/.local/share/Ombrivo"},
        Case{"", "/usr/bin/", "/usr/bin", "/home/u/.local/share/Ombrivo",
             "/home/u/.local/share/Ombrivo"},
        // Portable or build tree: the executable's own folder.
        Case{"", "/opt/Tools", "/usr/bin", "/home/u/.local/share/Ombrivo", "/opt/Tools"},
        Case{"", "C:/Tools/", "C:/Program Files/Ombrivo", "C:/Users/u/AppData", "C:/Tools"},
        Case{"", "D:/", "C:/Program Files/Ombrivo", "C:/Users/u/AppData", "D:"},
        Case{"", "/", "/usr/bin", "/home/u", "/"}));

TEST(FileExists, FilesOnly) {
    QTemporaryDir folder;
    const QString empty = folder.filePath(QStringLiteral("empty"));
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(empty));
    EXPECT_FALSE(FileExists(folder.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(FileExists(folder.path()));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(QStringLiteral("\x01<>|?*")));
}

} // namespace
