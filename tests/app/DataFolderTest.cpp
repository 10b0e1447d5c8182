#include "app/DataFolder.h"

#include "TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace lurvo::app;

namespace {

TEST(WindowsAppDataFolder, FollowsProfileAndVersion) {
    EXPECT_EQ(windowsAppDataFolder(6, "C:\\Users\\ann", 'C', "ann"),
              "C:\\Users\\ann\\AppData\\Roaming");
    EXPECT_EQ(windowsAppDataFolder(10, "D:\\Profiles\\ann\\", 'C', "bob"),
              "D:\\Profiles\\ann\\AppData\\Roaming");
    EXPECT_EQ(windowsAppDataFolder(5, "C:\\Documents and Settings\\ann", 'C', "ann"),
              "C:\\Documents and Settings\\ann\\Application Data");
    // Without a profile: the system drive and the user name.
    EXPECT_EQ(windowsAppDataFolder(6, "", 'E', "bob"), "E:\\Users\\bob\\AppData\\Roaming");
    EXPECT_EQ(windowsAppDataFolder(5, "", 'C', "bob"),
              "C:\\Documents and Settings\\bob\\Application Data");

    const QString longProfile = "C:\\" + QString(300, 'x');
    EXPECT_EQ(windowsAppDataFolder(6, longProfile, 'C', "ann"), longProfile.left(259));
}

// Puts XDG_CONFIG_HOME back as it was after each test.
class ConfigHome : public testing::Test {
protected:
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const QString homeConfig = QDir::homePath() + "/.config";

    void TearDown() override {
        if (wasSet)
            qputenv("XDG_CONFIG_HOME", saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
};

TEST_F(ConfigHome, XdgConfigHomeWhenAbsolute) {
    qputenv("XDG_CONFIG_HOME", "/srv/conf/");
    EXPECT_EQ(DataFolder(), "/srv/conf");
    EXPECT_EQ(appDataFolder(), "/srv/conf/LurvoRepeater");

    qputenv("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(appDataFolder(), homeConfig + "/LurvoRepeater");

    qputenv("XDG_CONFIG_HOME", "");
    EXPECT_EQ(DataFolder(), homeConfig);

    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DataFolder(), homeConfig);
}

} // namespace
