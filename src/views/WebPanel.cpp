#include "views/WebPanel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBrowser>

namespace lurvo::views {

WebPanel::WebPanel(QWidget* parent, std::function<void(const QUrl&)> openUrl)
    : QFrame(parent), browser_(new QTextBrowser(this)), openUrl_(std::move(openUrl)) {
    setObjectName("webPanel");
    // The panel draws the sunken edge; the page has no border of its own.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    browser_->setObjectName("webPage");
    browser_->setFrameShape(QFrame::NoFrame);
    browser_->setContextMenuPolicy(Qt::NoContextMenu);
    browser_->setFocusPolicy(Qt::NoFocus);
    // Links leave the panel for the learner's browser; the panel keeps its one page.
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (openUrl_)
            openUrl_(browser_->source().resolved(link));
    });
}

bool WebPanel::navigate(const QUrl& page) {
    const QFileInfo file(page.toLocalFile());
    if (!page.isLocalFile() || !file.isFile() || !file.isReadable()) {
        browser_->setHtml(
            QStringLiteral("<p style=\"color:#777777\">%1</p>")
                .arg(QCoreApplication::translate("WebPanel", "产品网页暂时无法显示。")));
        return false;
    }
    browser_->setSource(page, QTextDocument::HtmlResource);
    browser_->clearHistory();
    return true;
}

void WebPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    browser_->setGeometry(contentsRect());
}

} // namespace lurvo::views
