#pragma once

#include <QFrame>
#include <QUrl>

#include <functional>

class QTextBrowser;

namespace lurvo::views {

// A page of the bundled product site at the right end of the control panel: read-only, no
// context menu, no history; its links open in the learner's browser.
class WebPanel : public QFrame {
public:
    WebPanel(QWidget* parent, std::function<void(const QUrl&)> openUrl);

    // Shows the page once; a short notice when it cannot be read. False in that case.
    bool navigate(const QUrl& page);

    QTextBrowser* browser() const { return browser_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTextBrowser* browser_;
    std::function<void(const QUrl&)> openUrl_;
};

} // namespace lurvo::views
