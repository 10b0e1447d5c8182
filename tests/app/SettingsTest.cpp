#include "app/Settings.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace lurvo::app;
using namespace Qt::Literals::StringLiterals;
using lurvo::test::readFile;
using lurvo::test::utf16File;
using lurvo::test::writeFile;

namespace {

class SettingsFile : public testing::Test {
protected:
    QTemporaryDir root;
    const QString folder = root.filePath("LurvoRepeater");
    const QString file = folder + "/options.ini";

    void writeOptions(const QString& keys) {
        ASSERT_TRUE(QDir().mkpath(folder));
        writeFile(file, utf16File("[options]\r\n" + keys));
    }
};

TEST_F(SettingsFile, NoFileGivesTheDefaults) {
    const LoadedSettings loaded = LoadSettings(folder);
    EXPECT_EQ(loaded.message, "");
    EXPECT_EQ(loaded.settings, Settings{});
    EXPECT_EQ(loaded.settings.volume, -500);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(SettingsFile, OutOfRangeValuesAreCorrected) {
    struct Case {
        const char* key;
        int stored;
        int Settings::*member;
        int expected;
    };
    const Case cases[] = {
        {"volume", 10001, &Settings::volume, -500},
        {"volume", -1, &Settings::volume, -500},
        {"volume", 0, &Settings::volume, -10000},
        {"volume", 10000, &Settings::volume, 0},
        {"volume", -2147483647 - 1, &Settings::volume, -500},
        {"totalCount", 12, &Settings::totalCount, 9},
        {"totalCount", -3, &Settings::totalCount, 0},
        {"w_text", 100, &Settings::w_text, 200},
        {"w_text", 5000, &Settings::w_text, 2048},
        {"w_msx", 10, &Settings::w_msx, 35},
        {"w_pointer", 201, &Settings::w_pointer, 200},
        {"w_senno", 34, &Settings::w_senno, 35},
        {"lrcMode", 3, &Settings::lrcMode, 0},
        {"lrcMode", 2, &Settings::lrcMode, 2},
        {"fs", -1, &Settings::fs, 0},
        {"fs", 2, &Settings::fs, 2},
        {"speedPercent", 49, &Settings::speedPercent, 50},
        {"speedPercent", 201, &Settings::speedPercent, 200},
        {"speedPercent", 102, &Settings::speedPercent, 100},
        {"speedPercent", 103, &Settings::speedPercent, 105},
        {"speedPercent", 75, &Settings::speedPercent, 75},
        {"gapMode", 3, &Settings::gapMode, 0},
        {"gapMode", -1, &Settings::gapMode, 0},
        {"channel", 2, &Settings::channel, 2},
        {"channel", 3, &Settings::channel, 0},
        {"channel", -1, &Settings::channel, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << '=' << c.stored);
        writeOptions(QStringLiteral("%1=%2\r\n").arg(QLatin1StringView(c.key)).arg(c.stored));
        EXPECT_EQ(LoadSettings(folder).settings.*c.member, c.expected);
    }
}

TEST_F(SettingsFile, ReadingsAreShownUnlessSwitchedOff) {
    EXPECT_TRUE(LoadSettings(folder).settings.showJyutping) << "no file";
    writeOptions("fs=1\r\n");
    EXPECT_TRUE(LoadSettings(folder).settings.showJyutping) << "no key";
    for (const auto& [stored, shown] : {std::pair{"0", false}, std::pair{"1", true},
                                        std::pair{"7", true}, std::pair{"-1", true}}) {
        writeOptions(QStringLiteral("showJyutping=%1\r\n").arg(QLatin1StringView(stored)));
        EXPECT_EQ(LoadSettings(folder).settings.showJyutping, shown) << stored;
    }
    // Stored as 0 or 1, whatever was read.
    Settings s = LoadSettings(folder).settings;
    ASSERT_TRUE(SaveSettings(s, folder).ok());
    EXPECT_TRUE(readFile(file).contains(utf16File("\r\nshowJyutping=1\r\n").mid(2)));
}

TEST_F(SettingsFile, WaitValueMustFitItsMode) {
    const struct {
        int mode;
        int stored;
        int expected;
    } cases[] = {
        {0, 5, 0},     {1, 1, 1},   {1, 10, 10},   {1, 0, 2},     {1, 11, 2},
        {1, 100, 2},   {2, 50, 50}, {2, 200, 200}, {2, 150, 150}, {2, 75, 100},
        {2, 250, 100}, {2, 0, 100}, {2, 3, 100},   {3, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "gapMode=" << c.mode << " gapValue=" << c.stored);
        writeOptions(QStringLiteral("gapMode=%1\r\ngapValue=%2\r\n").arg(c.mode).arg(c.stored));
        const Settings loaded = LoadSettings(folder).settings;
        EXPECT_EQ(loaded.gapMode, c.mode > 2 ? 0 : c.mode);
        EXPECT_EQ(loaded.gapValue, c.expected);
    }
    // Missing keys: as today, no wait at the normal speed.
    writeOptions("totalCount=4\r\n");
    const Settings loaded = LoadSettings(folder).settings;
    EXPECT_EQ(loaded.speedPercent, 100);
    EXPECT_EQ(loaded.gapMode, 0);
    EXPECT_EQ(loaded.gapValue, 0);
}

TEST_F(SettingsFile, SavedSettingsLoadBackFromUtf16Text) {
    Settings s;
    s.bMute = true;
    s.volume = -10000;
    s.bFileLoopPlay = false;
    s.lrcMode = 2;
    s.totalCount = 0;
    s.fs = 1;
    s.w_msx = 35;
    s.w_pointer = 200;
    s.w_senno = 70;
    s.w_text = 2048;
    s.follow_bAutoPlay = false;
    s.follow_aDevId = 4;
    s.follow_destFile = u"/home/ann/錄音/第一課.mp3"_s;
    s.speedPercent = 75;
    s.gapMode = 2;
    s.gapValue = 150;
    s.showJyutping = false;
    s.follow_bPitch = true;
    s.channel = 1;
    s.windowX = -1200; // on a screen left of the primary
    s.windowY = 40;
    s.windowWidth = 1100;
    s.windowHeight = 720;
    s.bMaximized = true;
    s.uiLanguage = u"zh_HK"_s;
    // Parents that do not exist yet are created too.
    const QString deep = root.filePath("config/deeper/LurvoRepeater");
    ASSERT_TRUE(SaveSettings(s, deep).ok());
    EXPECT_EQ(readFile(deep + "/options.ini"),
              utf16File(u"[options]\r\nbMute=1\r\nbFileLoopPlay=0\r\nvolume=0\r\nlrcMode=2\r\n"
                        u"totalCount=0\r\nfs=1\r\nw_msx=35\r\nw_pointer=200\r\nw_senno=70\r\n"
                        u"w_text=2048\r\nfollow_destFile=/home/ann/錄音/第一課.mp3\r\n"
                        u"follow_aDevId=4\r\nfollow_bAutoPlay=0\r\nspeedPercent=75\r\ngapMode=2\r\n"
                        u"gapValue=150\r\nshowJyutping=0\r\nfollow_bPitch=1\r\nchannel=1\r\n"
                        u"windowX=-1200\r\nwindowY=40\r\nwindowWidth=1100\r\nwindowHeight=720\r\n"
                        u"bMaximized=1\r\nuiLanguage=zh_HK\r\n"_s));
    const LoadedSettings loaded = LoadSettings(deep);
    EXPECT_EQ(loaded.message, "");
    EXPECT_EQ(loaded.settings, s);
}

TEST_F(SettingsFile, WindowPlaceWithoutAUsableSizeIsNoPlace) {
    const auto place = [&](int x, int y, int width, int height) {
        writeOptions(
            QStringLiteral("windowX=%1\r\nwindowY=%2\r\nwindowWidth=%3\r\nwindowHeight=%4\r\n")
                .arg(x)
                .arg(y)
                .arg(width)
                .arg(height));
        const Settings loaded = LoadSettings(folder).settings;
        return QRect(loaded.windowX, loaded.windowY, loaded.windowWidth, loaded.windowHeight);
    };
    EXPECT_EQ(place(30, -20, 900, 700), QRect(30, -20, 900, 700));
    EXPECT_EQ(place(30, 20, 0, 700), QRect());
    EXPECT_EQ(place(30, 20, 900, -5), QRect());
    EXPECT_EQ(place(30, 20, 40000, 700), QRect());
    EXPECT_EQ(place(99999, 20, 900, 700), QRect());
    writeOptions("windowX=30\r\n");
    EXPECT_EQ(LoadSettings(folder).settings, Settings{}) << "a place without a size";
}

TEST_F(SettingsFile, LongRecordingPathLoadsWhole) {
    // Longer than the 259 characters a path once had room for, beyond ASCII at the cut.
    const QString longPath = u"/home/ann/"_s + u"粵語錄音練習/"_s.repeated(42) + u"第一課.mp3"_s;
    ASSERT_GT(longPath.size(), 259);
    Settings s;
    s.follow_destFile = longPath;
    ASSERT_TRUE(SaveSettings(s, folder).ok());
    EXPECT_EQ(LoadSettings(folder).settings.follow_destFile, longPath);
}

TEST_F(SettingsFile, SavingKeepsUnrelatedContent) {
    writeOptions("volume=1\r\nlegacy=yes\r\n\r\n[window]\r\n; placed by hand\r\nx=10\r\n");
    ASSERT_TRUE(SaveSettings(Settings{}, folder).ok());
    EXPECT_EQ(
        readFile(file),
        utf16File("[options]\r\nvolume=9500\r\nlegacy=yes\r\nbMute=0\r\nbFileLoopPlay=1\r\n"
                  "lrcMode=0\r\ntotalCount=3\r\nfs=0\r\nw_msx=105\r\nw_pointer=60\r\n"
                  "w_senno=65\r\nw_text=1000\r\nfollow_destFile=\r\nfollow_aDevId=0\r\n"
                  "follow_bAutoPlay=1\r\nspeedPercent=100\r\ngapMode=0\r\ngapValue=0\r\n"
                  "showJyutping=1\r\nfollow_bPitch=0\r\nchannel=0\r\nwindowX=0\r\n"
                  "windowY=0\r\nwindowWidth=0\r\nwindowHeight=0\r\nbMaximized=0\r\nuiLanguage=\r\n"
                  "\r\n[window]\r\n; placed by hand\r\nx=10\r\n"));
}

TEST_F(SettingsFile, SavingClearsWhatStandsInTheWay) {
    // A folder where the file belongs, holding read-only content.
    ASSERT_TRUE(QDir().mkpath(file + "/inner"));
    writeFile(file + "/inner/locked", "x");
    QFile::setPermissions(file + "/inner/locked", QFileDevice::ReadOwner);
    QFile::setPermissions(file + "/inner", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    Settings s;
    s.totalCount = 7;
    ASSERT_TRUE(SaveSettings(s, folder).ok());
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(LoadSettings(folder).settings.totalCount, 7);

    // A read-only file is overwritten.
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    s.totalCount = 5;
    ASSERT_TRUE(SaveSettings(s, folder).ok());
    EXPECT_EQ(LoadSettings(folder).settings.totalCount, 5);

    // A read-only plain file where the folder belongs.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    writeFile(folder, "not a folder");
    QFile::setPermissions(folder, QFileDevice::ReadOwner);
    ASSERT_TRUE(SaveSettings(s, folder).ok());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(LoadSettings(folder).settings.totalCount, 5);
}

TEST_F(SettingsFile, OversizedFileIsDeletedOnLoad) {
    const QByteArray oneMiB = utf16File(u"[options]\r\nvolume=0\r\n"_s).leftJustified(1 << 20, ' ');
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(file, oneMiB.left(oneMiB.size() - 1));
    EXPECT_EQ(LoadSettings(folder).settings.volume, -10000);
    EXPECT_TRUE(QFileInfo::exists(file));

    writeFile(file, oneMiB);
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    const LoadedSettings loaded = LoadSettings(folder);
    EXPECT_EQ(loaded.settings.volume, -500);
    EXPECT_EQ(loaded.message, "");
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(SettingsFile, FolderOfTheFileNameIsNotReportedOnLoad) {
    ASSERT_TRUE(QDir().mkpath(file));
    const LoadedSettings loaded = LoadSettings(folder);
    EXPECT_EQ(loaded.message, "");
    EXPECT_EQ(loaded.settings, Settings{});
}

TEST_F(SettingsFile, UnreadableFileIsReportedAndDefaultsApply) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    writeOptions("totalCount=7\r\n");
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    const LoadedSettings loaded = LoadSettings(folder);
    EXPECT_EQ(loaded.message, u"读文件失败：\n"_s + file);
    EXPECT_EQ(loaded.settings.totalCount, 3);
}

TEST_F(SettingsFile, UnwritableLocationIsReportedAtTheFirstKey) {
    // The data folder's parent is a plain file: nothing can be created below it.
    const QString blocker = root.filePath("blocker");
    writeFile(blocker, "keep");
    const QString inside = blocker + "/LurvoRepeater";
    const SavedSettings saved = SaveSettings(Settings{}, inside);
    EXPECT_FALSE(saved.ok());
    EXPECT_EQ(saved.message, u"写文件失败：\n"_s + inside + "/options.ini");
    EXPECT_EQ(readFile(blocker), "keep");
}

} // namespace
