#include "app/IniFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace lurvo::app;
using namespace Qt::Literals::StringLiterals;
using lurvo::test::readFile;
using lurvo::test::utf16File;
using lurvo::test::writeFile;

namespace {

class IniFile : public testing::Test {
protected:
    QTemporaryDir dir;
    const QString path = dir.filePath("test.ini");
};

TEST_F(IniFile, IntegersReadLikeTheWindowsCall) {
    writeFile(path, utf16File(u"[other]\r\nonly=1\r\n"
                              u"[ Opts ]\r\n"
                              u"plain=12\r\nnegative=-1\r\nplus=+7\r\ntrailing=12abc\r\n"
                              u"text=abc\r\nspaced =   42  \r\nwrapped=4294967297\r\nempty=\r\n"
                              u";commented=9\r\nMiXed=3\r\n"_s));
    const auto read = [&](const char* key) { return ini::readInt(path, "opts", key, -99); };
    EXPECT_EQ(read("plain"), 12);
    EXPECT_EQ(read("negative"), -1);
    EXPECT_EQ(read("plus"), 7);
    EXPECT_EQ(read("trailing"), 12);
    EXPECT_EQ(read("text"), 0);
    EXPECT_EQ(read("spaced"), 42);
    EXPECT_EQ(read("wrapped"), 1);
    EXPECT_EQ(read("mixed"), 3);
    // Missing (or only commented out, or in another section) gives the default, and so does
    // an empty value.
    EXPECT_EQ(read("empty"), -99);
    EXPECT_EQ(read("commented"), -99);
    EXPECT_EQ(read("only"), -99);
    EXPECT_EQ(read("absent"), -99);
    EXPECT_EQ(ini::readInt(path, "absent", "plain", -99), -99);
    EXPECT_EQ(ini::readInt(dir.filePath("absent.ini"), "opts", "plain", -99), -99);
}

TEST_F(IniFile, StringsAreTrimmedUnquotedAndCut) {
    writeFile(path, utf16File(u"[s]\r\npath =  /home/ann/課文.mp3  \r\nquoted=\"  a  \"\r\n"_s));
    EXPECT_EQ(ini::readString(path, "s", "path", {}, 259), u"/home/ann/課文.mp3"_s);
    EXPECT_EQ(ini::readString(path, "s", "quoted", {}, 259), "  a  ");
    EXPECT_EQ(ini::readString(path, "s", "path", {}, 8), "/home/an");
    EXPECT_EQ(ini::readString(path, "s", "absent", "fallback", 4), "fall");
    EXPECT_EQ(ini::readString(path, "s", "path", {}, 0), "");
}

TEST_F(IniFile, WritingKeepsEveryOtherLine) {
    writeFile(path, utf16File(u"; kept as it is\r\n"
                              u"[other]\r\n"
                              u"  keep = 1\n"
                              u"volume=1\r\n"
                              u"\r\n"
                              u"[Options]\r\n"
                              u"Volume = 9500\r\n"
                              u"name=課文\r\n"
                              u"\r\n"
                              u"[last]\r\n"
                              u"z=1"_s));
    EXPECT_TRUE(ini::writeInt(path, "options", "volume", 8000));
    EXPECT_TRUE(ini::writeString(path, "options", "added", u"新"_s));
    EXPECT_TRUE(ini::writeString(path, "fresh", "k", "v"));
    EXPECT_EQ(readFile(path), utf16File(u"; kept as it is\r\n"
                                        u"[other]\r\n"
                                        u"  keep = 1\r\n"
                                        u"volume=1\r\n"
                                        u"\r\n"
                                        u"[Options]\r\n"
                                        u"Volume = 8000\r\n"
                                        u"name=課文\r\n"
                                        u"added=新\r\n"
                                        u"\r\n"
                                        u"[last]\r\n"
                                        u"z=1\r\n"
                                        u"[fresh]\r\n"
                                        u"k=v\r\n"_s));
}

TEST_F(IniFile, EightBitFilesStayInTheirEncoding) {
    EXPECT_TRUE(ini::writeString(path, "s", "k", u"粵"_s));
    EXPECT_EQ(readFile(path), QByteArray("[s]\r\nk=\xE7\xB2\xB5\r\n"));
    EXPECT_EQ(ini::readString(path, "s", "k", {}, 259), u"粵"_s);

    // Not UTF-8: every byte comes back as it was.
    writeFile(path, "[s]\r\nname=Ren\xE9\r\n");
    EXPECT_TRUE(ini::writeInt(path, "s", "n", 1));
    EXPECT_EQ(readFile(path), QByteArray("[s]\r\nname=Ren\xE9\r\nn=1\r\n"));

    writeFile(path, "\xEF\xBB\xBF[s]\r\n");
    EXPECT_TRUE(ini::writeInt(path, "s", "n", 2));
    EXPECT_EQ(readFile(path), QByteArray("\xEF\xBB\xBF[s]\r\nn=2\r\n"));
}

TEST_F(IniFile, WriteFailuresAreReported) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    EXPECT_FALSE(ini::writeInt(dir.filePath("folder.ini"), "s", "k", 1));

    writeFile(dir.filePath("plain"), "x");
    EXPECT_FALSE(ini::writeInt(dir.filePath("plain/test.ini"), "s", "k", 1));

    EXPECT_FALSE(ini::writeString(path, "s", "k", "two\nlines"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(IniFile, ReadOnlyFileIsNotWritten) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes every file";
    writeFile(path, utf16File(u"[s]\r\nk=0\r\n"_s));
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    EXPECT_FALSE(ini::writeInt(path, "s", "k", 1));
    EXPECT_EQ(ini::readInt(path, "s", "k", -1), 0);
}

} // namespace
