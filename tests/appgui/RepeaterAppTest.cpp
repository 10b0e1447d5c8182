#include "app/RepeaterApp.h"
#include "AppTestEnvironment.h"
#include "app/AppIdentity.h"
#include "app/CommandIds.h"
#include "app/StartupChecks.h"
#include "app/WindowPlacement.h"
#include "media/MediaPlayer.h"

#include "subtitles/OffsetStore.h"
#include "views/ListPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace lurvo::app;

namespace {

class RepeaterAppTest : public testing::Test, protected lurvo::test::AppTestEnvironment {
protected:
    QList<QUrl> opened;
    bool browser = true; // whether the desktop could start a browser
    int mediaCheck = 1;

    RepeaterApp::Environment environment() {
        RepeaterApp::Environment e = env;
        e.checkMediaComponents = [this] { return mediaCheck; };
        e.openUrl = [this](const QUrl& url) {
            opened << url;
            return browser;
        };
        return e;
    }

    void provideTools(std::initializer_list<const char*> names) {
        ASSERT_TRUE(AppTestEnvironment::provideTools(names));
    }

    QString optionsFile() const { return QDir(data.path()).filePath("LurvoRepeater/options.ini"); }
};

TEST_F(RepeaterAppTest, StartsWhenToolsAndElementsAreThere) {
    provideTools({"mp3val", "mp3splt"});
    RepeaterApp app(environment());
    EXPECT_TRUE(app.InitInstance());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('|').toStdString();
    ASSERT_TRUE(app.mainWindow());
    EXPECT_TRUE(app.mainWindow()->isVisible());
    EXPECT_EQ(app.settings.volume, -500);
    EXPECT_EQ(app.displayFont.pixelSize(), 24);
}

TEST_F(RepeaterAppTest, MissingToolRefusesToStartButWritesTheSettings) {
    provideTools({"mp3val"});
    RepeaterApp app(environment());
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(errors, QStringList{QString::fromUtf8("文件有缺失，请重装本软件")});
    EXPECT_TRUE(QFile::exists(optionsFile()));
    EXPECT_FALSE(app.mainWindow()->isVisible());
}

TEST_F(RepeaterAppTest, MissingElementsRefuseToStartWithTheirMessage) {
    provideTools({"mp3val", "mp3splt"});
    mediaCheck = -1;
    {
        RepeaterApp app(environment());
        EXPECT_FALSE(app.InitInstance());
    }
    mediaCheck = 0;
    {
        RepeaterApp app(environment());
        EXPECT_FALSE(app.InitInstance());
    }
    EXPECT_EQ(errors, (QStringList{QString::fromUtf8("文件有缺失，请重装本软件。"),
                                   QString::fromUtf8("系统环境有问题，请修复或重装 GStreamer")}));
    EXPECT_TRUE(QFile::exists(optionsFile()));
}

TEST(CheckMediaComponents, TheFirstMissingRoleDecides) {
    const auto without = [](QByteArray missing) {
        return CheckMediaComponents([missing](const char* factory) { return missing != factory; });
    };
    EXPECT_EQ(without("none"), 1);
    EXPECT_EQ(without("mpg123audiodec"), -1);
    EXPECT_EQ(without("id3demux"), -1);
    EXPECT_EQ(without("mpegaudioparse"), -1);
    EXPECT_EQ(without("parsebin"), 0);
    EXPECT_EQ(without("filesrc"), 0);
    EXPECT_EQ(CheckMediaComponents(), 1) << "this machine has every element";
}

TEST_F(RepeaterAppTest, SmallCommandsChangeTheirState) {
    provideTools({"mp3val", "mp3splt"});
    RepeaterApp app(environment());
    ASSERT_TRUE(app.InitInstance());
    app.dispatch(CmdFontLarge);
    EXPECT_EQ(app.settings.fs, 2);
    EXPECT_EQ(app.displayFont.pixelSize(), 35);
    EXPECT_EQ(app.displayFont.weight(), QFont::DemiBold);
    app.dispatch(CmdChannelLeft);
    EXPECT_EQ(app.settings.channel, 1);
    EXPECT_EQ(app.state().channel, 1);
    app.dispatch(CmdTopmost);
    EXPECT_TRUE(app.topmost);
    EXPECT_TRUE(app.mainWindow()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(app.mainWindow()->isVisible());
    app.dispatch(CmdTopmost);
    EXPECT_FALSE(app.mainWindow()->windowFlags() & Qt::WindowStaysOnTopHint);

    // Viewing the subtitle file needs a lesson.
    app.dispatch(CmdViewSubtitles);
    EXPECT_TRUE(opened.isEmpty());

    // The font size is stored at exit.
    app.dispatch(CmdExit);
    RepeaterApp again(environment());
    ASSERT_TRUE(again.InitInstance());
    EXPECT_EQ(again.settings.fs, 2);
    EXPECT_EQ(again.settings.channel, 1) << "the channel is remembered like the volume";
    EXPECT_EQ(again.state().channel, 1);
}

TEST_F(RepeaterAppTest, WindowOpensWhereItWasLeftOnAScreenThatExists) {
    provideTools({"mp3val", "mp3splt"});
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Up and down by as much as the title bar allowed for before the frame is known is off.
    const auto centredOnScreen = [&](const QWidget* window) {
        const QPoint offset = window->frameGeometry().center() - screen.center();
        return screen.contains(window->frameGeometry()) && std::abs(offset.x()) <= 2 &&
               std::abs(offset.y()) <= 16;
    };
    const QRect left(40, 60, 600, 500);
    {
        // First start: the whole screen's width is not room for every panel, so 90% of it.
        RepeaterApp app(environment());
        ASSERT_TRUE(app.InitInstance());
        const QWidget* window = app.mainWindow();
        ASSERT_LT(screen.width(), kFirstStartSize.width()) << "the offscreen screen";
        EXPECT_EQ(window->width(), screen.width() * 9 / 10);
        EXPECT_TRUE(centredOnScreen(window));
        app.mainWindow()->setGeometry(left);
        app.dispatch(CmdExit);
    }
    {
        RepeaterApp app(environment());
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.mainWindow()->geometry(), left);
        EXPECT_FALSE(app.mainWindow()->isMaximized());
        app.mainWindow()->showMaximized();
        app.dispatch(CmdExit);
    }
    {
        RepeaterApp app(environment());
        ASSERT_TRUE(app.InitInstance());
        EXPECT_TRUE(app.mainWindow()->isMaximized());
        app.mainWindow()->showNormal();
        EXPECT_EQ(app.mainWindow()->geometry(), left) << "where it was before it was maximised";
        app.ExitApplication();
    }
    // Left on a screen that is no longer there: centred on the primary one, at its size.
    Settings gone = LoadSettings(env.dataFolder).settings;
    EXPECT_EQ(QRect(gone.windowX, gone.windowY, gone.windowWidth, gone.windowHeight), left);
    gone.windowX = screen.right() + 300;
    ASSERT_TRUE(SaveSettings(gone, env.dataFolder).ok());
    RepeaterApp app(environment());
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.mainWindow()->size(), left.size());
    EXPECT_TRUE(centredOnScreen(app.mainWindow()));
}

// Window systems add an application's display name to the title of every window whose title
// does not already end with it; unset, the display name is the application name. The program
// sets none, so its dialogs are titled by their own texts alone.
TEST(ApplicationIdentity, DialogTitlesCarryNoProgramName) {
    const QString testName = QCoreApplication::applicationName();
    setApplicationIdentity();
    EXPECT_EQ(QCoreApplication::applicationName(), "lurvo-repeater");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "lurvo-repeater");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QCoreApplication::setApplicationName(testName);
}

// The save question of the real program: Escape and the box's close button mean 取消.
TEST(SystemQuestion, EscapeAndTheCloseButtonCancel) {
    const auto ask = RepeaterApp::systemEnvironment().askYesNoCancel;
    const auto answerWith = [&](std::function<void(QWidget*)> act) {
        QTimer::singleShot(0, [act] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            act(box);
        });
        return ask(QStringLiteral("?"));
    };
    const auto button = [](QWidget* box, const char* text) {
        for (QPushButton* b : box->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(text))
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    using lurvo::player::Answer;
    EXPECT_EQ(answerWith([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); }),
              Answer::Cancel);
    EXPECT_EQ(answerWith([](QWidget* box) { box->close(); }), Answer::Cancel);
    EXPECT_EQ(answerWith([&](QWidget* box) { button(box, "取消")->click(); }), Answer::Cancel);
    EXPECT_EQ(answerWith([&](QWidget* box) { button(box, "否(&N)")->click(); }), Answer::No);
    EXPECT_EQ(answerWith([&](QWidget* box) { button(box, "是(&Y)")->click(); }), Answer::Yes);
}

// The pause question has no 取消: Escape and the close button decline, as 否 does.
TEST(SystemQuestion, YesNoQuestionTakesEscapeAsNo) {
    const auto ask = RepeaterApp::systemEnvironment().askYesNo;
    const auto answerWith = [&](std::function<void(QWidget*)> act) {
        QTimer::singleShot(0, [act] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            act(box);
        });
        return ask(QStringLiteral("?"));
    };
    const auto button = [](QWidget* box, const char* text) {
        for (QPushButton* b : box->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(text))
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    EXPECT_EQ(answerWith([](QWidget* box) {
                  EXPECT_EQ(box->findChildren<QPushButton*>().size(), 2) << "是 and 否 only";
                  QTest::keyClick(box, Qt::Key_Escape);
              }),
              false);
    EXPECT_FALSE(answerWith([](QWidget* box) { box->close(); }));
    EXPECT_FALSE(answerWith([&](QWidget* box) { button(box, "否(&N)")->click(); }));
    EXPECT_TRUE(answerWith([&](QWidget* box) { button(box, "是(&Y)")->click(); }));
}

// The program itself, told to end by a signal while it plays a lesson, stores its settings and
// the lesson's offset and ends normally.
TEST(EndOfSession, TerminationSignalStoresWhatAnExitWould) {
    QTemporaryDir config;
    QTemporaryDir lessons;
    const QDir source(QStringLiteral(LURVO_SOURCE_DIR "/resources"));
    const QString mp3 = lessons.filePath("lesson.mp3");
    ASSERT_TRUE(QFile::copy(source.filePath("eg.mp3"), mp3));
    ASSERT_TRUE(QFile::copy(source.filePath("eg.lrc"), lessons.filePath("lesson.lrc")));
    // The sound server's address and cookie live in the user's configuration folder, of which
    // the program gets a fresh one: they are carried over, or it would find no audio output.
    const QDir userPulse(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         "/pulse");
    const QDir pulse(QDir(config.path()).filePath("pulse"));
    ASSERT_TRUE(pulse.mkpath("."));
    for (const QFileInfo& entry :
         userPulse.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString copy = pulse.filePath(entry.fileName());
        EXPECT_TRUE(entry.isSymLink() ? QFile::link(entry.symLinkTarget(), copy)
                                      : QFile::copy(entry.filePath(), copy));
    }
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(LURVO_PROGRAM), {mp3});
        ASSERT_TRUE(program.waitForStarted(10000));
        // Playing: the lesson's MP3 is open.
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(program.processId()));
        QElapsedTimer clock;
        clock.start();
        bool playing = false;
        while (!playing && clock.elapsed() < 60000) {
            QThread::msleep(100);
            for (const QString& fd :
                 fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                playing = playing || QFile::symLinkTarget(fds.filePath(fd)) == mp3;
        }
        ASSERT_TRUE(playing);
        ASSERT_EQ(::kill(pid_t(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        const QString data = QDir(config.path()).filePath("LurvoRepeater");
        EXPECT_TRUE(QFile::exists(QDir(data).filePath("options.ini")));
        const QString offset =
            lurvo::subtitles::offsetFilePath(data, lurvo::subtitles::computeLessonDigest(mp3));
        EXPECT_TRUE(QFile::remove(offset));
        EXPECT_TRUE(QFile::remove(QDir(data).filePath("options.ini")));
    }
}

TEST_F(RepeaterAppTest, WebCommandsOpenTheBundledSite) {
    provideTools({"mp3val", "mp3splt"});
    RepeaterApp app(environment());
    ASSERT_TRUE(app.InitInstance());
    for (const int command : {CmdDownloads, CmdLearningSite, CmdHelp, CmdWebSite, CmdDictionary})
        app.dispatch(command);
    const QString site = QDir(resources.path()).filePath("site");
    ASSERT_EQ(opened.size(), 5);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(site + "/down/index.html"));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(site + "/index.html"));
    EXPECT_EQ(opened[2], QUrl::fromLocalFile(site + "/soft/help.html"));
    EXPECT_EQ(opened[3], QUrl::fromLocalFile(site + "/index.html"));
    EXPECT_EQ(opened[4].scheme(), "https");
    EXPECT_EQ(app.webPageUrl("/soft/new.html"), QUrl::fromLocalFile(site + "/soft/new.html"));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(RepeaterAppTest, SitePagesFollowTheInterfaceLanguage) {
    provideTools({"mp3val", "mp3splt"});
    const QDir site(QDir(resources.path()).filePath("site"));
    ASSERT_TRUE(site.mkpath("soft") && site.mkpath("down"));
    for (const char* page : {"soft/help.zh-HK.html", "down/index.zh-HK.html", "index.en.html"}) {
        QFile file(site.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    RepeaterApp::Environment e = environment();
    e.systemLocale = "zh_MO";
    {
        RepeaterApp app(e);
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(app.uiLanguage(), UiLanguage::Traditional);
        app.dispatch(CmdHelp);
        app.dispatch(CmdDownloads);
        app.dispatch(CmdWebSite);
        ASSERT_EQ(opened.size(), 3);
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(site.filePath("soft/help.zh-HK.html")));
        EXPECT_EQ(opened[1], QUrl::fromLocalFile(site.filePath("down/index.zh-HK.html")));
        EXPECT_EQ(opened[2], QUrl::fromLocalFile(site.filePath("index.html"))) << "none in zh-HK";
        // The learner's choice is kept for the next start, and it says when it applies.
        app.dispatch(CmdLanguageEnglish);
        EXPECT_EQ(app.settings.uiLanguage, "en");
        EXPECT_EQ(app.uiLanguage(), UiLanguage::Traditional) << "only after a restart";
        ASSERT_EQ(notices.size(), 1);
        EXPECT_EQ(notices[0], QString::fromUtf8("界面语言已更改，重新启动本软件后生效。"));
        app.dispatch(CmdLanguageEnglish);
        EXPECT_EQ(notices.size(), 1) << "no change, nothing to say";
        app.dispatch(CmdExit);
    }
    opened.clear();
    RepeaterApp restarted(e);
    ASSERT_TRUE(restarted.InitInstance());
    EXPECT_EQ(restarted.settings.uiLanguage, "en");
    EXPECT_EQ(restarted.uiLanguage(), UiLanguage::English);
    restarted.dispatch(CmdWebSite);
    restarted.dispatch(CmdHelp);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(site.filePath("index.en.html")));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(site.filePath("soft/help.html")));
    restarted.dispatch(CmdLanguageSystem);
    EXPECT_EQ(restarted.settings.uiLanguage, "");
}

// A bare desktop without a browser: each page's address is shown so it can be copied.
TEST_F(RepeaterAppTest, WithoutABrowserTheAddressIsShown) {
    provideTools({"mp3val", "mp3splt"});
    browser = false;
    RepeaterApp app(environment());
    ASSERT_TRUE(app.InitInstance());
    app.dispatch(CmdHelp);
    app.dispatch(CmdDictionary);
    ASSERT_EQ(errors.size(), 2);
    const QString help = QUrl::fromLocalFile(resources.path() + "/site/soft/help.html").toString();
    EXPECT_EQ(errors[0],
              QString::fromUtf8("无法启动网页浏览器。请在浏览器中打开这个地址：\r\n") + help);
    EXPECT_TRUE(errors[1].endsWith("\r\nhttps://words.hk/")) << errors[1].toStdString();

    // The download page after a lesson without subtitles goes the same way.
    QTemporaryDir lessons;
    QFile::copy(QStringLiteral(LURVO_SOURCE_DIR "/resources/eg.mp3"), lessons.filePath("x.mp3"));
    app.lessons()->OpenLesson(lessons.filePath("x.mp3"));
    ASSERT_EQ(errors.size(), 4);
    EXPECT_TRUE(errors[3].endsWith("/site/down/index.html")) << errors[3].toStdString();
}

} // namespace

TEST_F(RepeaterAppTest, JyutpingSwitchesTheReadingsEverywhereAtOnceAndIsStored) {
    provideTools({"mp3val", "mp3splt"});
    RepeaterApp app(environment());
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(app.settings.showJyutping);
    EXPECT_TRUE(app.state().showJyutping);
    const lurvo::views::ListPanel* list = app.mainWindow()->mainPanel()->listPanel();
    EXPECT_EQ(list->rowHeight(), lurvo::views::ListPanel::kRowHeight)
        << "characters only while no readings are given";

    app.setAnnotator([](const QString& text) {
        return lurvo::pronunciation::Annotation{{text, QStringLiteral("hou2"), 2}};
    });
    EXPECT_TRUE(list->model()->readingsShown());
    EXPECT_GT(list->rowHeight(), lurvo::views::ListPanel::kRowHeight);

    app.dispatch(CmdShowJyutping);
    EXPECT_FALSE(app.settings.showJyutping);
    EXPECT_FALSE(app.state().showJyutping);
    EXPECT_FALSE(list->model()->readingsShown());
    EXPECT_EQ(list->rowHeight(), lurvo::views::ListPanel::kRowHeight);

    // Stored at exit, and still off at the next start.
    app.dispatch(CmdExit);
    RepeaterApp again(environment());
    ASSERT_TRUE(again.InitInstance());
    EXPECT_FALSE(again.settings.showJyutping);
    again.setAnnotator([](const QString& text) {
        return lurvo::pronunciation::Annotation{{text, QStringLiteral("hou2"), 2}};
    });
    EXPECT_FALSE(again.mainWindow()->mainPanel()->listPanel()->model()->readingsShown());
    again.dispatch(CmdShowJyutping);
    EXPECT_TRUE(again.mainWindow()->mainPanel()->listPanel()->model()->readingsShown());
}
