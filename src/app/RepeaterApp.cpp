#include "app/RepeaterApp.h"

#include "app/Accelerators.h"
#include "app/AppIcon.h"
#include "app/CenterWindow.h"
#include "app/CommandIds.h"
#include "app/DataFolder.h"
#include "app/PanelLinks.h"
#include "app/StartupChecks.h"
#include "app/StringTable.h"
#include "app/UiLanguage.h"
#include "media/Elements.h"
#include "media/MediaPlayer.h"
#include "media/NotificationSound.h"
#include "pausedialogs/PauseOptionsDialog.h"
#include "pausedialogs/PauseProgressDialog.h"
#include "platform/ResourceFolder.h"
#include "player/RepairDialog.h"
#include "pronunciation/Pronouncer.h"
#include "pronunciation/ReadingSubtitles.h"
#include "readalong/ReadAlongWindow.h"
#include "split/SplitDialog.h"
#include "subtitles/SubtitleDocument.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

#include <algorithm>
#include <cstring>

namespace lurvo::app {

namespace {

// A public online Cantonese dictionary with pronunciations.
constexpr const char* kDictionaryUrl = "https://words.hk/";

// The longest word the corrections menu looks for around a character; longer ones are phrases
// whose readings rarely differ from their words'.
constexpr int kMaxMenuWord = 4;

} // namespace

bool needsAudio(int command) {
    switch (command) {
    case CmdPlayPause:
    case CmdStop:
    case CmdPrevious:
    case CmdNext:
    case CmdRepeat:
    case CmdBackFive:
    case CmdForwardFive:
    case CmdFirst:
    case CmdLast:
    case CmdReadAlong:
        return true;
    default:
        return false;
    }
}

QFont displayFontFor(int fs) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(displayFontPixelHeight(fs));
    font.setWeight(QFont::DemiBold); // 600
    return font;
}

RepeaterApp::Environment RepeaterApp::systemEnvironment() {
    Environment env;
    env.resourceFolder = platform::resourceFolder();
    env.systemLocale = QLocale::system().name();
    env.dataFolder = appDataFolder();
    env.checkMediaComponents = [] { return CheckMediaComponents(); };
    env.makePronouncer = [] { return std::make_unique<pronunciation::Pronouncer>(); };
    env.showError = [](const QString& text) {
        QMessageBox box(QMessageBox::Critical, productTitle(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("RepeaterApp", "确定"));
        // Paths, addresses and error details can be copied from the message.
        box.setTextInteractionFlags(Qt::TextSelectableByMouse);
        box.exec();
    };
    env.showInfo = [](const QString& text) {
        QMessageBox box(QMessageBox::Information, productTitle(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.button(QMessageBox::Ok)->setText(QCoreApplication::translate("RepeaterApp", "确定"));
        box.exec();
    };
    env.askYesNoCancel = [](const QString& text) {
        // The buttons speak the program's language, as the rest of its texts do.
        QMessageBox box(QMessageBox::Question, productTitle(), text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                        QApplication::activeWindow());
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("RepeaterApp", "是(&Y)"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("RepeaterApp", "否(&N)"));
        box.button(QMessageBox::Cancel)
            ->setText(QCoreApplication::translate("RepeaterApp", "取消"));
        // Escape and the box's close button answer 取消: nothing is decided, nothing lost.
        box.setEscapeButton(box.button(QMessageBox::Cancel));
        box.exec();
        if (box.clickedButton() == box.button(QMessageBox::Yes))
            return player::Answer::Yes;
        if (box.clickedButton() == box.button(QMessageBox::No))
            return player::Answer::No;
        return player::Answer::Cancel;
    };
    env.askYesNo = [](const QString& text) {
        QMessageBox box(QMessageBox::Question, productTitle(), text,
                        QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("RepeaterApp", "是(&Y)"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("RepeaterApp", "否(&N)"));
        // Without a 取消, Escape and the close button decline.
        box.setEscapeButton(box.button(QMessageBox::No));
        box.exec();
        return box.clickedButton() == box.button(QMessageBox::Yes);
    };
    env.measureLoudness = [](const QString& mp3Path) {
        return pausedialogs::PauseProgressDialog::measure(mp3Path, QApplication::activeWindow());
    };
    env.askPauseOptions = [](const pauses::Envelope& envelope) {
        return pausedialogs::PauseOptionsDialog::ask(envelope, QApplication::activeWindow());
    };
    env.askSavePath = [](const QString& suggestedPath) {
        return QFileDialog::getSaveFileName(
            QApplication::activeWindow(), QString(), suggestedPath,
            QCoreApplication::translate("RepeaterApp", "粤拼字幕 (*.lrc)"));
    };
    env.askOpenPath = [](const QString& folder) {
        return QFileDialog::getOpenFileName(
            QApplication::activeWindow(), QString(), folder,
            QCoreApplication::translate("RepeaterApp", "MP3 Files (*.mp3)"));
    };
    env.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    env.runRepairTool = [](const QString& program, const QStringList& arguments) {
        player::RepairDialog::run(program, arguments, QApplication::activeWindow());
    };
    const QString resources = env.resourceFolder;
    env.invalidInputSound = [resources] { media::PlayInvalidInputSound(resources); };
    env.makePlayer = [] { return std::make_unique<media::MediaPlayer>(); };
    env.hasAudioOutput = [] { return media::FindDefaultAudioRenderer() != nullptr; };
    env.readAlongMedia = readalong::ReadAlongMedia::system();
    return env;
}

RepeaterApp::RepeaterApp(Environment environment) : env_(std::move(environment)) {}

RepeaterApp::~RepeaterApp() {
    if (accelerators_)
        qApp->removeEventFilter(accelerators_.get());
    // The read-along window plays and records from the lesson: it goes first.
    readAlong_.reset();
    // The lesson goes before the window its player notifies.
    lessons_.reset();
}

bool RepeaterApp::InitInstance() {
    // Settings and texts are in place before any window exists: the panels read them.
    LoadedSettings loaded = LoadSettings(env_.dataFolder);
    settings = loaded.settings;
    // Every text is looked up when shown, so the translators only have to come before the windows.
    uiLanguage_ = uiLanguageFor(env_.systemLocale, settings.uiLanguage);
    translators_ = loadTranslators(uiLanguage_, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    for (const std::unique_ptr<QTranslator>& translator : translators_)
        QCoreApplication::installTranslator(translator.get());
    if (!loaded.message.isEmpty())
        env_.showError(loaded.message);
    displayFont = displayFontFor(settings.fs);

    createWindows();
    mainWindow_->showPlaced(settings);
    mainWindow_->mainPanel()->listPanel()->setFocus();
    startReadings();

    if (!CheckRequiredFiles(env_.resourceFolder)) {
        env_.showError(stringText(139));
        Shutdown();
        return false;
    }
    const int media = env_.checkMediaComponents();
    if (media != 1) {
        env_.showError(stringText(media < 0 ? 140 : 141));
        Shutdown();
        return false;
    }
    return true;
}

void RepeaterApp::createWindows() {
    mainWindow_ = std::make_unique<MainWindow>(*this);
    mainWindow_->setWindowIcon(appIcon());
    views_ = std::make_unique<WindowViews>(
        *mainWindow_,
        WindowViews::Dialogs{env_.showError, env_.showInfo, env_.askYesNoCancel, env_.askYesNo,
                             env_.measureLoudness, env_.askPauseOptions, env_.askOpenPath,
                             [this](const QUrl& url) { OpenUrl(url); }, env_.runRepairTool},
        [this] { sentences_->OnPositionTick(); });
    sentences_ = std::make_unique<player::SentencePlayer>(playback, *views_, [this] {
        return player::PlaybackSettings{settings.totalCount,
                                        settings.bFileLoopPlay,
                                        subtitles::sentenceModeFromSetting(settings.lrcMode),
                                        settings.speedPercent,
                                        player::GapMode(settings.gapMode),
                                        settings.gapValue};
    });
    player::LessonEnvironment lessonEnv;
    lessonEnv.resourceFolder = env_.resourceFolder;
    lessonEnv.dataFolder = env_.dataFolder;
    lessonEnv.downloadPage = webPageUrl(QStringLiteral("/down"));
    lessonEnv.notify = mainWindow_.get();
    lessonEnv.makePlayer = env_.makePlayer;
    lessonEnv.hasAudioOutput = env_.hasAudioOutput;
    lessonEnv.save = [](subtitles::SubtitleDocument& document) { return document.save(); };
    lessons_ = std::make_unique<player::LessonLoader>(
        playback, *sentences_, *views_, *views_, lessonEnv, [this] {
            return player::LessonAudio{settings.channel, settings.volume, settings.bMute};
        });
    linkPanels(*this);
    mainWindow_->mainPanel()->sentencePanel()->setPieceMenuHandler(
        [this](int piece, const QPoint& at) {
            if (const std::unique_ptr<QMenu> menu = makeReadingMenu(piece))
                menu->exec(at);
        });
    applyReadings();
    accelerators_ = std::make_unique<AcceleratorFilter>(AcceleratorFilter::Target{
        [this] { return static_cast<QWidget*>(mainWindow_.get()); },
        [this] { return static_cast<QWidget*>(readAlong_.get()); },
        [this](int command) { dispatch(command); },
        [this](int command) {
            if (readAlong_)
                readAlong_->dispatch(command);
        },
    });
    qApp->installEventFilter(accelerators_.get());
}

void RepeaterApp::saveSettings() {
    // The list's column widths and the window as the learner left them.
    if (mainWindow_) {
        mainWindow_->mainPanel()->listPanel()->getColsWidth(settings);
        mainWindow_->storePlacement(settings);
    }
    const SavedSettings saved = SaveSettings(settings, env_.dataFolder);
    if (!saved.message.isEmpty())
        env_.showError(saved.message);
}

void RepeaterApp::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    saveSettings();
    if (accelerators_)
        qApp->removeEventFilter(accelerators_.get());
    if (mainWindow_)
        mainWindow_->hide();
    QCoreApplication::exit(0);
}

void RepeaterApp::ExitApplication() {
    if (readAlong_)
        readAlong_->CloseReadAlong();
    // A failed save of edited subtitles keeps the program running.
    if (lessons_ && !lessons_->CloseLesson())
        return;
    Shutdown();
}

void RepeaterApp::OnEndSession() {
    saveSettings();
    if (lessons_)
        lessons_->EndSession();
}

void RepeaterApp::OnTerminationSignal() {
    if (shutDown_)
        return;
    OnEndSession();
    shutDown_ = true;
    if (accelerators_)
        qApp->removeEventFilter(accelerators_.get());
    if (mainWindow_)
        mainWindow_->hide();
    // Ends every event loop, a question's or a dialog's included.
    QCoreApplication::exit(0);
}

void RepeaterApp::ToggleTopmost() {
    topmost = !topmost;
    const bool visible = mainWindow_->isVisible();
    const QRect geometry = mainWindow_->geometry();
    mainWindow_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    // Changing the flag hides the window; it comes back where it was.
    mainWindow_->setGeometry(geometry);
    if (visible)
        mainWindow_->show();
}

void RepeaterApp::SetFontSize(int size) {
    settings.fs = size;
    displayFont = displayFontFor(size);
    mainWindow_->mainPanel()->sentencePanel()->refresh();
}

void RepeaterApp::startReadings() {
    if (!env_.makePronouncer)
        return;
    pronouncer_ = env_.makePronouncer();
    // The index loads in the background; the views show characters until it is ready, then
    // ask again.
    pronouncer_->onReady = [this] {
        pronunciation::Pronouncer* source = pronouncer_.get();
        setAnnotator([source](const QString& text) { return source->annotate(text); });
    };
    pronouncer_->onUnavailable = [this](const QStringList& missing) {
        readingsMissing_ = missing;
        if (mainWindow_)
            mainWindow_->mainPanel()->tipStrip()->update();
    };
    pronouncer_->load();
}

QString RepeaterApp::readingsNotice() const {
    if (!settings.showJyutping || readingsMissing_.isEmpty())
        return {};
    return QCoreApplication::translate("RepeaterApp", "显示粤拼需要安装 %1")
        .arg(readingsMissing_.join(QCoreApplication::translate("RepeaterApp", "、")));
}

void RepeaterApp::setAnnotator(views::Annotator annotator) {
    annotator_ = std::move(annotator);
    applyReadings();
}

void RepeaterApp::ToggleJyutping() {
    settings.showJyutping = !settings.showJyutping;
    applyReadings();
    if (mainWindow_)
        mainWindow_->mainPanel()->tipStrip()->update();
}

void RepeaterApp::ExportJyutping() {
    if (!playback.lessonLoaded || !annotator_)
        return;
    const QString path =
        env_.askSavePath(pronunciation::readingSubtitlePathFor(lessons_->subtitlePath));
    if (path.isEmpty())
        return;
    // The document as the learner sees it: edits and the lesson's offset included.
    const int written = pronunciation::writeReadingSubtitles(*lessons_->document, annotator_, path);
    if (written != 0)
        env_.showError(QCoreApplication::translate("RepeaterApp", "无法保存粤拼字幕文件 %1：%2")
                           .arg(QDir::toNativeSeparators(path),
                                QString::fromLocal8Bit(std::strerror(written))));
}

void RepeaterApp::applyReadings() {
    views::Annotator shown;
    if (settings.showJyutping && annotator_) {
        // The learner's choices go over the dictionary's readings in every view alike.
        shown = [this, source = annotator_](const QString& text) {
            return lessonChoices().apply(source(text));
        };
    }
    if (mainWindow_) {
        mainWindow_->mainPanel()->sentencePanel()->setAnnotator(shown);
        mainWindow_->mainPanel()->listPanel()->setAnnotator(shown);
    }
    if (readAlong_)
        readAlong_->setAnnotator(shown);
}

const pronunciation::ReadingChoices& RepeaterApp::lessonChoices() {
    const QByteArray digest =
        lessons_ && playback.lessonLoaded ? lessons_->lessonDigest : QByteArray();
    if (digest != choicesDigest_) {
        choicesDigest_ = digest;
        choices_ = digest.isEmpty() ? pronunciation::ReadingChoices()
                                    : pronunciation::ReadingChoices::load(env_.dataFolder, digest);
    }
    return choices_;
}

void RepeaterApp::choicesChanged() {
    // Like the offset, a choice that cannot be stored still holds for this session.
    if (!choicesDigest_.isEmpty())
        choices_.save(env_.dataFolder, choicesDigest_);
    applyReadings();
}

std::unique_ptr<QMenu> RepeaterApp::makeReadingMenu(int piece) {
    if (!pronouncer_ || !annotator_ || !settings.showJyutping || !playback.lessonLoaded)
        return nullptr;
    const QString text = currentSentenceText();
    const pronunciation::Annotation shown = lessonChoices().apply(annotator_(text));
    if (piece < 0 || piece >= shown.size() || shown[piece].syllable.isEmpty())
        return nullptr;
    const auto offsetOf = [&](int index) {
        qsizetype offset = 0;
        for (int i = 0; i < index; ++i)
            offset += shown[i].text.size();
        return offset;
    };
    const pronunciation::LinePosition place = pronunciation::linePositionOf(text, offsetOf(piece));
    auto menu = std::make_unique<QMenu>(mainWindow_.get());
    const auto offer = [&](const QString& label, qsizetype at, const QStringList& syllables) {
        menu->addAction(label, [this, line = place.line, at, syllables] {
            choices_.set({line, at, syllables});
            choicesChanged();
        });
    };
    for (const QString& reading : pronouncer_->readingsOf(shown[piece].text)) {
        if (reading != shown[piece].syllable)
            offer(reading, place.at, {reading});
    }

    // The longest word around the character that the dictionary knows; only pieces with a
    // syllable (single characters, never a line break) can be part of it.
    bool wordFound = false;
    bool separated = false;
    for (int length = kMaxMenuWord; length >= 2 && !wordFound; --length) {
        for (int first = std::max(0, piece - length + 1);
             first <= piece && first + length <= shown.size() && !wordFound; ++first) {
            QString word;
            QStringList current;
            for (int i = first; i < first + length && !shown[i].syllable.isEmpty(); ++i) {
                word += shown[i].text;
                current << shown[i].syllable;
            }
            if (current.size() != length)
                continue;
            const QStringList readings = pronouncer_->readingsOf(word);
            wordFound = !readings.isEmpty();
            const qsizetype wordAt = place.at - (offsetOf(piece) - offsetOf(first));
            for (const QString& reading : readings) {
                const QStringList syllables = reading.split(u' ', Qt::SkipEmptyParts);
                if (syllables == current || syllables.size() != length)
                    continue;
                if (!separated && !menu->isEmpty())
                    menu->addSeparator();
                separated = true;
                offer(word + u' ' + reading, wordAt, syllables);
            }
        }
    }

    if (lessonChoices().covering(place.line, place.at)) {
        if (!menu->isEmpty())
            menu->addSeparator();
        menu->addAction(QCoreApplication::translate("RepeaterApp", "恢复默认"),
                        [this, line = place.line, at = place.at] {
                            choices_.clear(line, at);
                            choicesChanged();
                        });
    }
    if (menu->isEmpty())
        return nullptr;
    return menu;
}

void RepeaterApp::ChangeChannel(int newChannel) {
    settings.channel = newChannel;
    if (playback.lessonLoaded && lessons_->player)
        lessons_->player->SetChannel(newChannel);
}

void RepeaterApp::SetSpeed(int percent) {
    const int speed = snappedSpeedPercent(percent);
    if (speed == settings.speedPercent)
        return; // a step beyond either end changes nothing, and costs the audio no seek
    settings.speedPercent = speed;
    sentences_->ApplySpeed();
    mainWindow_->mainPanel()->controlPanel()->showSpeed(speed);
}

void RepeaterApp::OpenReadAlong() {
    if (!playback.lessonLoaded || audioMissing() || readAlong_)
        return;
    if (playback.playState == PlayState::Playing)
        sentences_->TogglePlayPause();
    readAlong_ = readalong::ReadAlongWindow::open(readAlongHost(*this), env_.readAlongMedia,
                                                  mainWindow_.get());
    if (!readAlong_)
        return;
    applyReadings();
    CenterWindow(readAlong_.get());
    readAlong_->show();
    mainWindow_->setEnabled(false);
}

void RepeaterApp::ReadAlongClosed() {
    mainWindow_->setEnabled(true);
    mainWindow_->raise();
    mainWindow_->activateWindow();
    // The window is still on the stack that told us it closed.
    if (readAlong_)
        readAlong_.release()->deleteLater();
}

void RepeaterApp::SplitLesson() {
    if (!playback.lessonLoaded || !lessons_->document)
        return;
    split::SplitContext context = split::systemSplitContext(
        lessons_->document.get(), subtitles::sentenceModeFromSetting(settings.lrcMode),
        lessons_->lessonPath);
    context.splitterProgram = platform::findProgram(QStringLiteral("mp3splt"), env_.resourceFolder);
    context.invalidInputSound = env_.invalidInputSound;
    context.showError = env_.showError;
    split::ShowSplitDialog(context, mainWindow_.get());
}

void RepeaterApp::ViewSubtitleFile() {
    if (!playback.lessonLoaded)
        return;
    if (!env_.openUrl(QUrl::fromLocalFile(lessons_->subtitlePath)))
        env_.showError(stringText(1204, QDir::toNativeSeparators(lessons_->subtitlePath)));
}

QUrl RepeaterApp::webPageUrl(const QString& page) const {
    const QDir site(QDir(env_.resourceFolder).filePath("site"));
    QString file = page;
    while (file.startsWith(u'/'))
        file.remove(0, 1);
    if (file.isEmpty() || !file.endsWith(u".html"))
        file = file.isEmpty() ? QStringLiteral("index.html") : file + QStringLiteral("/index.html");
    return QUrl::fromLocalFile(localizedPagePath(site.filePath(file), uiLanguage_));
}

void RepeaterApp::OpenWebPage(const QString& page) {
    OpenUrl(webPageUrl(page));
}

void RepeaterApp::OpenUrl(const QUrl& url) {
    // A bare desktop has no browser: the learner can still copy the address.
    if (!env_.openUrl(url))
        env_.showError(stringText(1203, url.toDisplayString()));
}

void RepeaterApp::ChooseLanguage(const QString& setting) {
    if (setting == settings.uiLanguage)
        return;
    settings.uiLanguage = setting;
    // Every window would have to rebuild its texts; a restart does that for free.
    env_.showInfo(
        QCoreApplication::translate("RepeaterApp", "界面语言已更改，重新启动本软件后生效。"));
}

void RepeaterApp::ShowAbout() {
    QMessageBox box(mainWindow_.get());
    box.setWindowTitle(QCoreApplication::translate("RepeaterApp", "关于"));
    box.setIconPixmap(appIcon().pixmap(48, 48));
    box.setText(productTitle());
    box.setInformativeText(
        QCoreApplication::translate("RepeaterApp", "简介：粤语逐句复读、显示同步字幕"));
    box.addButton(QCoreApplication::translate("RepeaterApp", "确定"), QMessageBox::AcceptRole);
    box.setEscapeButton(box.buttons().first());
    box.exec();
}

void RepeaterApp::dispatch(int command) {
    // Keys reach here too: what the greyed menu items and buttons refuse, they refuse as well.
    if (audioMissing() && needsAudio(command))
        return;
    switch (command) {
    case CmdFontSmall:
    case CmdFontMedium:
    case CmdFontLarge:
        SetFontSize(command - CmdFontSmall);
        break;
    case CmdChannelStereo:
    case CmdChannelLeft:
    case CmdChannelRight:
        ChangeChannel(command - CmdChannelStereo);
        break;
    case CmdTopmost:
        ToggleTopmost();
        break;
    case CmdShowJyutping:
        ToggleJyutping();
        break;
    case CmdLanguageSystem:
        ChooseLanguage({});
        break;
    case CmdLanguageSimplified:
        ChooseLanguage(uiLanguageSetting(UiLanguage::Simplified));
        break;
    case CmdLanguageTraditional:
        ChooseLanguage(uiLanguageSetting(UiLanguage::Traditional));
        break;
    case CmdLanguageEnglish:
        ChooseLanguage(uiLanguageSetting(UiLanguage::English));
        break;
    case CmdExportJyutping:
        ExportJyutping();
        break;
    case CmdSlower:
        SetSpeed(settings.speedPercent - kSpeedStepPercent);
        break;
    case CmdFaster:
        SetSpeed(settings.speedPercent + kSpeedStepPercent);
        break;
    case CmdNormalSpeed:
        SetSpeed(100);
        break;
    case CmdViewSubtitles:
        ViewSubtitleFile();
        break;
    case CmdReadAlong:
        OpenReadAlong();
        break;
    case CmdExit:
        ExitApplication();
        break;
    case CmdDownloads:
        OpenWebPage(QStringLiteral("/down"));
        break;
    case CmdLearningSite:
    case CmdWebSite:
        OpenWebPage(QStringLiteral("/"));
        break;
    case CmdHelp:
        OpenWebPage(QStringLiteral("/soft/help.html"));
        break;
    case CmdDictionary:
        OpenUrl(QUrl(QString::fromLatin1(kDictionaryUrl)));
        break;
    case CmdAbout:
        ShowAbout();
        break;
    case CmdOpen:
        lessons_->OpenLesson();
        break;
    case CmdSampleLesson:
        lessons_->OpenSampleLesson();
        break;
    case CmdCloseLesson:
        lessons_->CloseLesson();
        break;
    case CmdPlayPause:
        sentences_->TogglePlayPause();
        break;
    case CmdStop:
        sentences_->StopPlayback();
        break;
    case CmdPrevious:
        sentences_->PreviousSentence();
        break;
    case CmdNext:
        sentences_->NextSentence();
        break;
    case CmdRepeat:
        sentences_->RepeatCurrentSentence();
        break;
    case CmdBackFive:
        sentences_->BackFiveSentences();
        break;
    case CmdForwardFive:
        sentences_->ForwardFiveSentences();
        break;
    case CmdFirst:
        sentences_->FirstSentence();
        break;
    case CmdLast:
        sentences_->LastSentence();
        break;
    case CmdSplit:
        SplitLesson();
        break;
    default:
        for (const auto& [speedCommand, percent] : kSpeedCommands)
            if (command == speedCommand)
                SetSpeed(percent);
        break;
    }
}

QString RepeaterApp::currentSentenceText() const {
    const subtitles::SubtitleDocument* doc = lessons_ ? lessons_->document.get() : nullptr;
    if (!playback.lessonLoaded || doc == nullptr || doc->lineCount() == 0)
        return {};
    const subtitles::SentenceMode mode = subtitles::sentenceModeFromSetting(settings.lrcMode);
    const int line = std::clamp(playback.currentLine, 0, doc->lineCount() - 1);
    const subtitles::LineRange lines =
        doc->linesOfSentence(doc->sentenceOfLine(line, mode).sentence, mode);
    QString text = doc->line(lines.first).text;
    if (lines.last != lines.first)
        text += QStringLiteral("\r\n") + doc->line(lines.last).text;
    return text;
}

MainWindowHost::State RepeaterApp::state() const {
    State s{playback.lessonLoaded, playback.playState, topmost, settings.channel, settings.fs};
    s.audioMissing = audioMissing();
    s.speedPercent = settings.speedPercent;
    s.showJyutping = settings.showJyutping;
    s.readingsReady = bool(annotator_);
    s.uiLanguage = settings.uiLanguage;
    return s;
}

bool RepeaterApp::audioMissing() const {
    return playback.lessonLoaded && lessons_ && !lessons_->player;
}

void RepeaterApp::openDroppedLesson(const QString& path) {
    lessons_->OpenLesson(path);
}

void RepeaterApp::invalidInput() {
    env_.invalidInputSound();
}

bool RepeaterApp::exitRequested() {
    ExitApplication();
    return shutDown_;
}

void RepeaterApp::graphNotified() {
    sentences_->OnMediaEvent();
}

} // namespace lurvo::app
