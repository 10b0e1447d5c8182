#include "platform/FileOps.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace lurvo::platform;
using lurvo::test::writeFile;

namespace {

TEST(CreateFolderPath, MakesEveryParentAndTheLastOnlyWhenAsked) {
    QTemporaryDir root;
    CreateFolderPath(root.filePath("a/b/c/file.txt"), false);
    EXPECT_TRUE(QFileInfo(root.filePath("a/b/c")).isDir());
    EXPECT_FALSE(QFileInfo::exists(root.filePath("a/b/c/file.txt")));

    CreateFolderPath(root.filePath("a/x/y"), true);
    EXPECT_TRUE(QFileInfo(root.filePath("a/x/y")).isDir());
}

TEST(DeleteFolderTree, RemovesReadOnlyContentButNeverFollowsLinks) {
    QTemporaryDir root;
    const QString tree = root.filePath("tree");
    ASSERT_TRUE(QDir().mkpath(tree + "/sub"));
    writeFile(tree + "/sub/locked", "x");
    QFile::setPermissions(tree + "/sub/locked", QFileDevice::ReadOwner);
    QFile::setPermissions(tree + "/sub", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(QDir().mkpath(root.filePath("outside")));
    writeFile(root.filePath("outside/precious"), "y");
    ASSERT_TRUE(QFile::link(root.filePath("outside"), tree + "/link"));

    EXPECT_TRUE(DeleteFolderTree(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    EXPECT_TRUE(QFileInfo::exists(root.filePath("outside/precious")));

    // Given a link itself, only the link goes.
    ASSERT_TRUE(QFile::link(root.filePath("outside"), root.filePath("alias")));
    EXPECT_TRUE(DeleteFolderTree(root.filePath("alias")));
    EXPECT_TRUE(QFileInfo::exists(root.filePath("outside/precious")));
}

TEST(DeleteFolderTree, LeavesAFolderThatCannotBeListed) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root lists every folder";
    QTemporaryDir root;
    const QString hidden = root.filePath("hidden");
    ASSERT_TRUE(QDir().mkpath(hidden));
    QFile::setPermissions(hidden, QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(DeleteFolderTree(hidden));
    EXPECT_TRUE(QFileInfo(hidden).isDir());
    QFile::setPermissions(hidden,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
