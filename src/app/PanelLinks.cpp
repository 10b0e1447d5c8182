#include "app/PanelLinks.h"

#include "app/RepeaterApp.h"
#include "app/StringTable.h"
#include "media/MediaPlayer.h"
#include "subtitles/OffsetDialog.h"
#include "subtitles/SubtitleDocument.h"
#include "views/WebPanel.h"

#include <QFileInfo>

namespace lurvo::app {

namespace {

subtitles::SubtitleDocument* openDocument(const RepeaterApp& app) {
    return app.playback.lessonLoaded && app.lessons() ? app.lessons()->document.get() : nullptr;
}

} // namespace

void linkPanels(RepeaterApp& app) {
    MainPanel* panels = app.mainWindow()->mainPanel();
    RepeaterApp* a = &app;

    panels->sentencePanel()->setSource({
        [a] { return a->playback.lessonLoaded; },
        [a] { return a->playback.playState == PlayState::Playing; },
        [a] { return a->currentSentenceText(); },
        [a] { return a->displayFont; },
        [a] { a->sentences()->TogglePlayPause(); },
        [a] { return !a->audioMissing(); },
        // Stopped, no pass is being heard even where the count still stands.
        [a] { return a->playback.playState == PlayState::Stopped ? 0 : a->playback.passCount; },
        [a] { return a->settings.totalCount; },
    });

    // Subtitles read from an .srt or .vtt file say so, and where edits will go. Lines skipped for
    // unreadable times are not lost from the file, but the learner misses them. Readings that
    // cannot be shown for want of a package come after.
    panels->tipStrip()->setNoticeSource([a] {
        const subtitles::SubtitleDocument* doc = openDocument(*a);
        if (doc != nullptr && !doc->cueFile.isEmpty()) {
            QString notice = stringText(2260, QFileInfo(doc->cueFile).fileName());
            if (doc->skippedLines > 0)
                notice += stringText(2261, QString::number(doc->skippedLines));
            return notice;
        }
        if (doc == nullptr || doc->skippedLines == 0)
            return a->readingsNotice();
        return stringText(2102, QString::number(doc->skippedLines));
    });

    views::ListPanel* list = panels->listPanel();
    list->setColumnWidths(app.settings);
    list->setSource({
        [a] { return openDocument(*a); },
        [a] { return a->playback.currentLine; },
        [a] { return subtitles::sentenceModeFromSetting(a->settings.lrcMode); },
        [a] { return a->playback.playState == PlayState::Playing; },
        [a] { a->sentences()->TogglePlayPause(); },
        [a](int line) { a->sentences()->GoToLine(line); },
        [panels] { panels->sentencePanel()->refresh(); },
        [a] { a->environment().invalidInputSound(); },
    });

    panels->controlPanel()->attach(app.settings,
                                   {
                                       [a] { return a->playback.lessonLoaded; },
                                       [a](int volume) {
                                           if (a->lessons()->player)
                                               a->lessons()->player->SetVolume(volume);
                                       },
                                       [a] { RegroupSentences(*a); },
                                       [a] { ChangeLessonOffset(*a); },
                                       [a] { a->OpenWebPage(QStringLiteral("/")); },
                                       [a] { a->sentences()->ApplySpeed(); },
                                   });

    // The product site's "what's new" page at the right end of the control panel.
    auto* web =
        new views::WebPanel(panels->controlPanel(), [a](const QUrl& url) { a->OpenUrl(url); });
    web->navigate(app.webPageUrl(QStringLiteral("/soft/new.html")));
    panels->controlPanel()->setWebPanel(web);
}

void ChangeLessonOffset(RepeaterApp& app) {
    player::LessonLoader* lessons = app.lessons();
    if (openDocument(app) == nullptr)
        return;
    const std::optional<int> offset =
        subtitles::OffsetDialog::ask(lessons->lessonOffsetMs, app.mainWindow());
    if (!offset)
        return;
    lessons->SetLessonOffset(*offset);
    app.sentences()->FollowPosition();
    app.mainWindow()->mainPanel()->listPanel()->rewriteTimes();
}

readalong::ReadAlongHost readAlongHost(RepeaterApp& app) {
    RepeaterApp* a = &app;
    readalong::ReadAlongHost host;
    host.settings = &app.settings;
    host.lessonPath = [a] { return a->lessons()->lessonPath; };
    host.document = [a]() -> const subtitles::SubtitleDocument* { return openDocument(*a); };
    host.mode = [a] { return subtitles::sentenceModeFromSetting(a->settings.lrcMode); };
    host.currentLine = [a] { return a->playback.currentLine; };
    host.sentenceText = [a] { return a->currentSentenceText(); };
    host.sentenceFont = [a] { return a->displayFont; };
    host.channel = [a] { return a->settings.channel; };
    host.volume = [a] { return a->settings.volume; };
    host.lessonLengthMs = [a]() -> std::int64_t {
        return a->lessons()->player ? a->lessons()->player->LengthMs() : 0;
    };
    host.mainCommand = [a](int command) { a->dispatch(command); };
    host.invalidInputSound = [a] { a->environment().invalidInputSound(); };
    host.closed = [a] { a->ReadAlongClosed(); };
    return host;
}

void RegroupSentences(RepeaterApp& app) {
    if (openDocument(app) == nullptr)
        return;
    views::ListPanel* list = app.mainWindow()->mainPanel()->listPanel();
    list->update();
    app.sentences()->RefreshPlaybackViews();
    list->renumberSentences();
}

} // namespace lurvo::app
