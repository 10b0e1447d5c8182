#include "views/WebPanel.h"
#include "views/ControlPanel.h"

#include "app/Settings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

using lurvo::views::ControlPanel;
using lurvo::views::WebPanel;

namespace {

const QUrl kNewPage =
    QUrl::fromLocalFile(QStringLiteral(LURVO_SOURCE_DIR "/resources/site/soft/new.html"));

TEST(WebPanel, SitsAtTheRightEndAndAloneTakesTheExtraWidth) {
    QWidget window;
    lurvo::app::Settings settings;
    auto* panel = new ControlPanel(&window);
    panel->attach(settings, {[] { return false; }, [](int) {}, [] {}, [] {}, [] {}, [] {}});
    auto* web = new WebPanel(panel, {});
    panel->setWebPanel(web);
    panel->setGeometry(0, 0, 1200, 85);
    window.resize(1200, 85);
    window.show();
    // Beyond the last separator, with the margins the page had when the panel was narrower.
    EXPECT_EQ(web->geometry(), QRect(980, 5, 217, 75));
    const QRect logo = panel->logo()->geometry();
    panel->resize(1400, 85);
    EXPECT_EQ(web->geometry(), QRect(980, 5, 417, 75));
    EXPECT_EQ(panel->logo()->geometry(), logo);
    panel->resize(900, 85); // narrower than the controls: the page has no room left
    EXPECT_TRUE(web->isHidden());
}

TEST(WebPanel, ShowsTheBundledPageWithoutMenuBorderOrHistory) {
    QList<QUrl> opened;
    WebPanel web(nullptr, [&opened](const QUrl& url) { opened << url; });
    web.resize(400, 75);
    ASSERT_TRUE(web.navigate(kNewPage));
    QTextBrowser* page = web.browser();
    EXPECT_TRUE(page->toPlainText().contains(QStringLiteral("新版本说明")));
    EXPECT_EQ(page->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_EQ(page->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(web.frameShadow(), QFrame::Sunken);
    EXPECT_FALSE(page->isBackwardAvailable());

    // A link goes to the learner's browser, resolved against the page; the panel stays.
    emit page->anchorClicked(QUrl(QStringLiteral("help.html")));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(
                             QStringLiteral(LURVO_SOURCE_DIR "/resources/site/soft/help.html")));
    EXPECT_EQ(page->source(), kNewPage);
}

TEST(WebPanel, MissingPageShowsANotice) {
    WebPanel web(nullptr, {});
    EXPECT_FALSE(web.navigate(QUrl::fromLocalFile(QDir::temp().filePath("no-such-page.html"))));
    EXPECT_TRUE(web.browser()->toPlainText().contains(QStringLiteral("无法显示")));
    EXPECT_FALSE(web.navigate(QUrl(QStringLiteral("https://example.com/soft/new.html"))));
}

// The pages name menus as the learner reads them on screen ("操作"), without the marker of the
// access key that the menu texts carry ("操作(&O)").
TEST(BundledSite, MenuNamesCarryNoAccessKeyMarker) {
    const QRegularExpression marker(QStringLiteral("\\(&(amp;)?[A-Za-z]\\)"));
    QDirIterator pages(QStringLiteral(LURVO_SOURCE_DIR "/resources/site"), {"*.html"}, QDir::Files,
                       QDirIterator::Subdirectories);
    int count = 0;
    while (pages.hasNext()) {
        QFile page(pages.next());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        const QRegularExpressionMatch found = marker.match(text);
        EXPECT_FALSE(found.hasMatch()) << page.fileName().toStdString() << ": "
                                       << text.mid(found.capturedStart() - 20, 40).toStdString();
        // Each language names the menu as its own interface does.
        const QString menu = page.fileName().endsWith(u".en.html") ? QStringLiteral("\"Lesson\"")
                             : page.fileName().endsWith(u".zh-HK.html") ? QStringLiteral("「操作」")
                                                                        : QStringLiteral("“操作”");
        EXPECT_TRUE(text.contains(menu)) << page.fileName().toStdString();
        ++count;
    }
    EXPECT_EQ(count, 12) << "four pages in three languages";
}

} // namespace
