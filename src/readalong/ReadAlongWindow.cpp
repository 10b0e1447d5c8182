#include "readalong/ReadAlongWindow.h"

#include "app/CommandIds.h"
#include "app/Settings.h"
#include "app/StringTable.h"
#include "media/GraphEvent.h"
#include "media/MediaPlayer.h"
#include "media/Recorder.h"
#include "pitch/PitchAnalyser.h"
#include "platform/FileOps.h"
#include "readalong/Destination.h"
#include "readalong/DeviceDialog.h"
#include "readalong/ReadAlongImages.h"
#include "readalong/ReadAlongPanels.h"
#include "subtitles/SubtitleDocument.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace lurvo::readalong {

namespace {

using app::CmdReadAlongClose;
using app::CmdReadAlongExportPitch;
using app::CmdReadAlongNext;
using app::CmdReadAlongPitch;
using app::CmdReadAlongPlayBoth;
using app::CmdReadAlongPlayLesson;
using app::CmdReadAlongPlayRecording;
using app::CmdReadAlongPrevious;
using app::CmdReadAlongRecord;

// The window is 520 by 275 pixels with its frame; the client area is what is left inside a
// usual frame.
constexpr QSize kClientSize(514, 246);
constexpr int kDevicePanelHeight = 80;

struct Command {
    int id;
    const char* menuText;
    ReadAlongImage image;
    int tooltip;
    bool separatorAfter; // in the menu
};

constexpr Command kCommands[] = {
    {CmdReadAlongPrevious, QT_TRANSLATE_NOOP("ReadAlongWindow", "上一句 \t ←"),
     ReadAlongImage::Previous, 1016, false},
    {CmdReadAlongNext, QT_TRANSLATE_NOOP("ReadAlongWindow", "下一句 \t →"), ReadAlongImage::Next,
     1017, true},
    {CmdReadAlongPlayLesson, QT_TRANSLATE_NOOP("ReadAlongWindow", "播放原声 \t ↑"),
     ReadAlongImage::PlayLesson, 1018, false},
    {CmdReadAlongPlayRecording, QT_TRANSLATE_NOOP("ReadAlongWindow", "播放录音 \t Tab"),
     ReadAlongImage::PlayRecording, 1019, false},
    {CmdReadAlongPlayBoth, QT_TRANSLATE_NOOP("ReadAlongWindow", "原音+录音 \t Enter"),
     ReadAlongImage::PlayBoth, 1028, true},
    {CmdReadAlongRecord, QT_TRANSLATE_NOOP("ReadAlongWindow", "开始录音 \t ↓"),
     ReadAlongImage::Record, 1020, true},
    {CmdReadAlongPitch, QT_TRANSLATE_NOOP("ReadAlongWindow", "音调对比 \t P"),
     ReadAlongImage::Pitch, 1029, false},
    {CmdReadAlongClose, QT_TRANSLATE_NOOP("ReadAlongWindow", "退出 \t Esc"), ReadAlongImage::Exit,
     1023, false},
};

// Fills the client area above the status bar: the device panel at the top, the toolbar at the
// bottom and the state panel between, with the pitch plot under it while that is folded out.
class Container : public QWidget {
public:
    Container(QWidget* parent, DevicePanel*& device, StatePanel*& state, PitchPlot*& plot,
              QToolBar*& toolbar, DevicePanel::Actions actions)
        : QWidget(parent) {
        setObjectName("container");
        device = device_ = new DevicePanel(this, std::move(actions));
        state = state_ = new StatePanel(this);
        plot = plot_ = new PitchPlot(this);
        plot_->hide();
        toolbar = toolbar_ = new QToolBar(this);
    }

    void layOut() {
        const int w = width();
        const int t = toolbar_->sizeHint().height();
        const int p = plot_->isHidden() ? 0 : PitchPlot::kHeight;
        toolbar_->setGeometry(0, height() - t, w, t);
        device_->setGeometry(0, 0, w, kDevicePanelHeight);
        state_->setGeometry(0, kDevicePanelHeight, w,
                            std::max(0, height() - t - p - kDevicePanelHeight));
        plot_->setGeometry(0, height() - t - p, w, p);
    }

protected:
    void resizeEvent(QResizeEvent*) override { layOut(); }

private:
    DevicePanel* device_;
    StatePanel* state_;
    PitchPlot* plot_;
    QToolBar* toolbar_;
};

// What the learner is told when a recording ends; nothing when the text is empty.
struct RecordingEnd {
    bool kept = false; // the take is the recording now
    bool warning = false;
    QString format; // with "%s" for the detail
    QString detail;
};

// Ends the recording. The take replaces the last recording when its stream ended, or when
// only the wait for that end ran out: it then holds what was said, perhaps without its last
// moment. After an error it is dropped and the last recording stays.
RecordingEnd endRecording(media::Recorder& recorder, RecordingTake& take) {
    const media::MediaResult stopped = recorder.Stop();
    const bool timedOut = stopped.error == media::MediaError::Timeout;
    if (!stopped.ok() && !timedOut) {
        take.discard();
        return {false, false, QCoreApplication::translate("ReadAlongWindow", "运行异常：\r\n%s"),
                stopped.message};
    }
    QString reason;
    if (take.keep(&reason))
        return timedOut ? RecordingEnd{true,
                                       true,
                                       QCoreApplication::translate("ReadAlongWindow",
                                                                   "录音文件可能不完整"),
                                       {}}
                        : RecordingEnd{true, false, {}, {}};
    if (!reason.isEmpty())
        return {false, false, QCoreApplication::translate("ReadAlongWindow", "录音失败：\r\n%s"),
                reason};
    return {}; // nothing was recorded: the last recording stays
}

} // namespace

QString stateText(ReadAlongState state) {
    return app::stringText(1024 + int(state));
}

std::unique_ptr<ReadAlongWindow> ReadAlongWindow::open(ReadAlongHost host, ReadAlongMedia media,
                                                       QWidget* owner) {
    int& deviceIndex = host.settings->follow_aDevId;
    media::CaptureDevice device = media.openDevice(deviceIndex);
    if (!device) {
        // The saved device is gone: the first one takes its place, and its index is kept.
        device = media.openDevice(0);
        if (device)
            deviceIndex = 0;
    }
    if (!device) {
        media.message(owner, true,
                      QCoreApplication::translate("ReadAlongWindow", "找不到录音设备"));
        return nullptr;
    }
    std::unique_ptr<ReadAlongWindow> window(
        new ReadAlongWindow(std::move(host), std::move(media), std::move(device)));
    // Owned by the main window for the window system, but not a Qt child: the main window is
    // disabled while this one is open, which would disable a child too.
    window->winId();
    if (owner != nullptr && owner->window()->windowHandle() != nullptr)
        window->windowHandle()->setTransientParent(owner->window()->windowHandle());
    return window;
}

ReadAlongWindow::ReadAlongWindow(ReadAlongHost host, ReadAlongMedia media,
                                 media::CaptureDevice device)
    : host_(std::move(host)), media_(std::move(media)), device_(std::move(device)) {
    setObjectName("readAlongWindow");
    setWindowTitle(app::stringText(1022));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    buildMenu();
    setCentralWidget(new Container(this, devicePanel_, statePanel_, pitchPlot_, toolbar_,
                                   {
                                       [this] { ChooseDevice(); },
                                       [this] { ShowProperties(); },
                                       [this] { ChooseDestination(); },
                                       [this](bool on) { host_.settings->follow_bAutoPlay = on; },
                                   }));
    buildToolbar();
    status_ = new QLabel(this);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);
    fitSize();

    tick_.setTimerType(Qt::PreciseTimer);
    tick_.setInterval(kTickMs);
    connect(&tick_, &QTimer::timeout, this, [this] { OnReadAlongTick(); });

    UpdateButtons();
    showSentenceNumber();
    devicePanel_->setDeviceName(device_.name);
    devicePanel_->setDestination(host_.settings->follow_destFile);
    devicePanel_->setAutoPlay(host_.settings->follow_bAutoPlay);
    RefreshState();
    statePanel_->setFocusPolicy(Qt::StrongFocus);
    statePanel_->setFocus();
    pitchPlot_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pitchPlot_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(pitchPlot_);
        menu.addAction(QCoreApplication::translate("ReadAlongWindow", "导出图片…"), this,
                       [this] { ExportPitchImage(); });
        menu.exec(pitchPlot_->mapToGlobal(at));
    });
    if (host_.settings->follow_bPitch)
        setPitchShown(true);
}

ReadAlongWindow::~ReadAlongWindow() {
    tick_.stop();
    // What was recorded so far is kept; there is no one left to tell how it ended.
    if (state_ == ReadAlongState::Recording)
        endRecording(*recorder_, take_);
    if (recorder_)
        recorder_->Close();
    if (lessonPlayer_)
        lessonPlayer_->Close();
    if (recordingPlayer_)
        recordingPlayer_->Close();
}

void ReadAlongWindow::buildMenu() {
    QMenu* menu = menuBar()->addMenu(app::stringText(1022));
    for (const Command& c : kCommands) {
        QAction* action =
            menu->addAction(QCoreApplication::translate("ReadAlongWindow", c.menuText));
        connect(action, &QAction::triggered, this, [this, id = c.id] { dispatch(id); });
        if (c.id == CmdReadAlongPitch) {
            QAction* exportImage =
                menu->addAction(QCoreApplication::translate("ReadAlongWindow", "导出图片…"));
            connect(exportImage, &QAction::triggered, this,
                    [this] { dispatch(CmdReadAlongExportPitch); });
            menu->addSeparator();
        }
        if (c.separatorAfter)
            menu->addSeparator();
    }
}

void ReadAlongWindow::buildToolbar() {
    toolbar_->setObjectName("readAlongToolbar");
    toolbar_->setIconSize(QSize(50, 32));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setFocusPolicy(Qt::NoFocus);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Command& c : kCommands) {
        QAction* action = toolbar_->addAction(readAlongIcon(c.image, false), QString());
        action->setData(c.id);
        action->setToolTip(app::stringText(c.tooltip));
        connect(action, &QAction::triggered, this, [this, id = c.id] { dispatch(id); });
        if (c.id == CmdReadAlongPitch)
            action->setCheckable(true);
        if (c.id == CmdReadAlongNext || c.id == CmdReadAlongPlayBoth ||
            c.id == CmdReadAlongRecord || c.id == CmdReadAlongPitch)
            toolbar_->addSeparator();
    }
}

QAction* ReadAlongWindow::toolbarAction(int command) const {
    for (QAction* action : toolbar_->actions())
        if (action->data().toInt() == command)
            return action;
    return nullptr;
}

void ReadAlongWindow::dispatch(int command) {
    switch (command) {
    case CmdReadAlongPrevious:
        GoPreviousSentence();
        break;
    case CmdReadAlongNext:
        GoNextSentence();
        break;
    case CmdReadAlongPlayLesson:
        PlayLessonSentence();
        break;
    case CmdReadAlongPlayRecording:
        PlayRecording();
        break;
    case CmdReadAlongPlayBoth:
        PlayLessonThenRecording();
        break;
    case CmdReadAlongRecord:
        ToggleRecording();
        break;
    case CmdReadAlongPitch:
        TogglePitch();
        break;
    case CmdReadAlongExportPitch:
        ExportPitchImage();
        break;
    case CmdReadAlongClose:
        CloseReadAlong();
        break;
    default:
        break;
    }
}

QString ReadAlongWindow::statusText() const {
    return status_->text();
}

void ReadAlongWindow::showSentenceNumber() {
    const subtitles::SubtitleDocument* doc = host_.document();
    if (doc == nullptr || doc->lineCount() == 0)
        return;
    const subtitles::SentenceMode mode = host_.mode();
    const int line = std::clamp(host_.currentLine(), 0, doc->lineCount() - 1);
    status_->setText(QString::asprintf("%d / %d", doc->sentenceOfLine(line, mode).sentence,
                                       doc->sentenceCount(mode)));
}

void ReadAlongWindow::fitSize() {
    // Taller than it was by what the sentence below the state needs in the learner's font.
    const int needed = menuBar()->sizeHint().height() + kDevicePanelHeight +
                       StatePanel::heightFor(sentenceFont(), statePanel_->readingsShown()) +
                       toolbar_->sizeHint().height() + statusBar()->sizeHint().height();
    const int plot = pitchShown() ? PitchPlot::kHeight : 0;
    setFixedSize(kClientSize.width(), std::max(kClientSize.height(), needed) + plot);
    static_cast<Container*>(centralWidget())->layOut();
}

void ReadAlongWindow::setAnnotator(views::Annotator annotator) {
    annotator_ = annotator;
    statePanel_->setAnnotator(std::move(annotator));
    fitSize();
    requestPitch(); // the syllables under the curve come and go with the readings
}

QFont ReadAlongWindow::sentenceFont() const {
    return host_.sentenceFont ? host_.sentenceFont() : font();
}

void ReadAlongWindow::RefreshState() {
    statePanel_->setSentence(host_.sentenceText ? host_.sentenceText() : QString(), sentenceFont());
    statePanel_->refresh(stateText(state_));
}

double ReadAlongWindow::lessonRate() const {
    return std::clamp(host_.settings->speedPercent, 50, 200) / 100.0;
}

void ReadAlongWindow::UpdateButtons() {
    const bool recording = state_ == ReadAlongState::Recording;
    for (const int command : {CmdReadAlongPrevious, CmdReadAlongNext, CmdReadAlongPlayLesson})
        toolbarAction(command)->setEnabled(!recording);
    // The take under way is kept where it was started for.
    devicePanel_->destinationButton()->setEnabled(!recording);
    const bool playable = !recording && QFile::exists(host_.settings->follow_destFile);
    toolbarAction(CmdReadAlongPlayRecording)->setEnabled(playable);
    toolbarAction(CmdReadAlongPlayBoth)->setEnabled(playable);
    toolbarAction(CmdReadAlongRecord)->setEnabled(true);
    toolbarAction(CmdReadAlongClose)->setEnabled(true);
}

void ReadAlongWindow::SetRecordingLook(bool on) {
    for (const Command& c : kCommands)
        toolbarAction(c.id)->setIcon(readAlongIcon(c.image, on));
    toolbarAction(CmdReadAlongRecord)->setToolTip(app::stringText(on ? 1021 : 1020));
}

void ReadAlongWindow::startTick() {
    tick_.start();
}

void ReadAlongWindow::fail(const QString& format, const QString& detail) {
    media_.message(this, false, QString(format).replace(QStringLiteral("%s"), detail.left(255)));
}

void ReadAlongWindow::StopActivity() {
    recordingNext_ = false;
    RecordingEnd ended;
    switch (state_) {
    case ReadAlongState::Ready:
        return;
    case ReadAlongState::PlayingLesson:
        lessonPlayer_->Stop();
        break;
    case ReadAlongState::PlayingRecording:
        recordingPlayer_->Stop();
        recordingPlayer_->Close();
        recordingPlayer_.reset();
        break;
    case ReadAlongState::Recording:
        ended = endRecording(*recorder_, take_);
        SetRecordingLook(false);
        break;
    }
    state_ = ReadAlongState::Ready;
    tick_.stop();
    RefreshState();
    UpdateButtons();
    if (ended.kept) {
        recordedSentence_ = currentSentence();
        requestPitch();
    }
    if (!ended.format.isEmpty())
        media_.message(this, ended.warning,
                       QString(ended.format).replace(QStringLiteral("%s"), ended.detail.left(255)));
}

void ReadAlongWindow::PlayLessonSentence() {
    if (state_ == ReadAlongState::Recording)
        return;
    StopActivity();
    const subtitles::SubtitleDocument* doc = host_.document();
    if (doc == nullptr || doc->lineCount() == 0)
        return;
    if (!lessonPlayer_) {
        std::unique_ptr<media::MediaPlayer> player = media_.makePlayer();
        const media::MediaResult opened =
            player->Open(host_.lessonPath(), this, media::ParserOrder::Mpeg1First);
        if (!opened.ok()) {
            player->Close();
            fail(QCoreApplication::translate("ReadAlongWindow", "播放原声失败：\r\n%s"),
                 opened.message);
            return;
        }
        player->SetChannel(host_.channel());
        // The volume setting, even when the main window is muted: this is for listening.
        player->SetVolume(host_.volume());
        lessonPlayer_ = std::move(player);
    }
    const subtitles::LineRange lines = currentLines();
    // At the main window's speed; the positions stay in lesson time.
    lessonPlayer_->SetRate(lessonRate());
    lessonPlayer_->SeekMs(doc->line(lines.first).startMs);
    const media::MediaResult played = lessonPlayer_->Play();
    if (!played.ok()) {
        fail(QCoreApplication::translate("ReadAlongWindow", "播放原声失败：\r\n%s"),
             played.message);
        return;
    }
    state_ = ReadAlongState::PlayingLesson;
    UpdateButtons();
    RefreshState();
    startTick();
}

void ReadAlongWindow::PlayRecording() {
    if (state_ == ReadAlongState::Recording)
        return;
    StopActivity();
    std::unique_ptr<media::MediaPlayer> player = media_.makePlayer();
    media::MediaResult result =
        player->Open(host_.settings->follow_destFile, this, media::ParserOrder::SecondaryFirst);
    if (result.ok()) {
        // One's own voice always at full volume, whatever the lesson's setting.
        player->SetVolume(0);
        result = player->Play();
    }
    if (!result.ok()) {
        player->Close();
        fail(QCoreApplication::translate("ReadAlongWindow", "播放录音失败：\r\n%s"),
             result.message);
        return;
    }
    recordingPlayer_ = std::move(player);
    state_ = ReadAlongState::PlayingRecording;
    UpdateButtons();
    RefreshState();
    startTick();
}

void ReadAlongWindow::PlayLessonThenRecording() {
    if (state_ == ReadAlongState::Recording)
        return;
    // Without a recording there is nothing to compare with: the failed open says so at once.
    if (!QFile::exists(host_.settings->follow_destFile)) {
        PlayRecording();
        return;
    }
    PlayLessonSentence();
    recordingNext_ = state_ == ReadAlongState::PlayingLesson;
}

void ReadAlongWindow::ToggleRecording() {
    QToolTip::hideText();
    if (state_ == ReadAlongState::Recording) {
        StopActivity();
        return;
    }
    StopActivity();
    const QString destination = host_.settings->follow_destFile;
    if (destination.isEmpty()) {
        media_.message(this, false,
                       QCoreApplication::translate("ReadAlongWindow", "请指定录音存放位置"));
        return;
    }
    // Checked again now: a destination kept from an earlier session may be the lesson open now.
    if (overwritesLesson(destination, host_.lessonPath())) {
        media_.message(this, false,
                       QCoreApplication::translate("ReadAlongWindow", "请不要自我覆盖"));
        return;
    }
    if (!recorder_) {
        std::unique_ptr<media::Recorder> recorder = media_.makeRecorder();
        const media::MediaResult built = recorder->Build(device_, device_.name, this);
        if (!built.ok()) {
            recorder->Close();
            fail(QCoreApplication::translate("ReadAlongWindow", "录音失败：\r\n%s"), built.message);
            return;
        }
        recorder_ = std::move(recorder);
    }
    // The last recording stays until this one has ended well.
    QString reason;
    if (!take_.begin(destination, &reason)) {
        fail(QCoreApplication::translate("ReadAlongWindow", "录音失败：\r\n%s"), reason);
        return;
    }
    recorder_->SetOutputFile(take_.path());
    const media::MediaResult started = recorder_->Start();
    if (!started.ok()) {
        take_.discard();
        fail(QCoreApplication::translate("ReadAlongWindow", "录音失败：\r\n%s"), started.message);
        return;
    }
    state_ = ReadAlongState::Recording;
    SetRecordingLook(true);
    RefreshState();
    UpdateButtons();
    startTick();
}

void ReadAlongWindow::GoPreviousSentence() {
    changeSentence(app::CmdPrevious);
}

void ReadAlongWindow::GoNextSentence() {
    changeSentence(app::CmdNext);
}

void ReadAlongWindow::changeSentence(int mainCommand) {
    if (state_ == ReadAlongState::Recording)
        return;
    StopActivity();
    // The main window moves its own current sentence; this window follows it.
    host_.mainCommand(mainCommand);
    showSentenceNumber();
    RefreshState();
    UpdateButtons();
    requestPitch();
    if (host_.settings->follow_bAutoPlay)
        PlayLessonSentence();
}

void ReadAlongWindow::OnReadAlongTick() {
    switch (state_) {
    case ReadAlongState::PlayingLesson: {
        const subtitles::SubtitleDocument* doc = host_.document();
        if (doc == nullptr || doc->lineCount() == 0) {
            StopActivity();
            return;
        }
        const subtitles::LineRange lines = currentLines();
        lessonPlayer_->RecoverStall();
        if (!lessonPlayer_->IsAtEnd() &&
            lessonPlayer_->PositionMs() < doc->lineEndMs(lines.last, int(host_.lessonLengthMs()))) {
            // A speed changed meanwhile is heard at once.
            lessonPlayer_->SetRate(lessonRate());
            break;
        }
        const bool recordingNext = recordingNext_;
        StopActivity();
        if (recordingNext)
            PlayRecording();
        break;
    }
    case ReadAlongState::PlayingRecording:
        recordingPlayer_->RecoverStall();
        if (recordingPlayer_->IsAtEnd())
            StopActivity();
        break;
    case ReadAlongState::Recording: {
        // A file that cannot be read counts as empty.
        const QFileInfo file(take_.path());
        const std::int64_t size = file.exists() ? file.size() : 0;
        if (size >= recordingLimit_)
            StopActivity();
        break;
    }
    case ReadAlongState::Ready:
        break;
    }
}

void ReadAlongWindow::OnReadAlongGraphEvent() {
    media::GraphEvent event;
    while (state_ != ReadAlongState::Ready) {
        bool got = false;
        switch (state_) {
        case ReadAlongState::PlayingLesson:
            got = lessonPlayer_->GetEvent(event);
            break;
        case ReadAlongState::PlayingRecording:
            got = recordingPlayer_->GetEvent(event);
            break;
        case ReadAlongState::Recording:
            got = recorder_->GetEvent(event);
            break;
        case ReadAlongState::Ready:
            break;
        }
        if (!got)
            return;
        if (event.code == media::kEventErrorAbort) {
            // A recording reports its own end, with this error.
            const bool recording = state_ == ReadAlongState::Recording;
            StopActivity();
            if (!recording)
                fail(QCoreApplication::translate("ReadAlongWindow", "运行异常：\r\n%s"),
                     event.text);
        }
    }
}

void ReadAlongWindow::ChooseDestination() {
    if (state_ == ReadAlongState::Recording)
        return;
    const QString chosen = media_.askDestination(this);
    if (chosen.isEmpty())
        return;
    const QString path = recordingPathFor(chosen);
    platform::makeWritable(path);
    if (overwritesLesson(path, host_.lessonPath())) {
        media_.message(this, false,
                       QCoreApplication::translate("ReadAlongWindow", "请不要自我覆盖"));
        return;
    }
    host_.settings->follow_destFile = path;
    devicePanel_->setDestination(path);
    UpdateButtons();
    // Whatever that file holds, it is not known to be a reading of this sentence.
    recordedSentence_ = -1;
    requestPitch();
}

void ReadAlongWindow::ChooseDevice() {
    StopActivity();
    const QList<media::CaptureDevice> devices = media_.listDevices();
    QStringList names;
    for (const media::CaptureDevice& d : devices)
        names << d.name;
    const std::optional<int> chosen = DeviceDialog::choose(names, host_.settings->follow_aDevId,
                                                           host_.invalidInputSound, devicePanel_);
    if (!chosen || *chosen < 0 || *chosen >= devices.size())
        return;
    // The next recording builds its graph for the new device.
    if (recorder_) {
        recorder_->Close();
        recorder_.reset();
    }
    device_ = devices[*chosen].copy();
    host_.settings->follow_aDevId = *chosen;
    devicePanel_->setDeviceName(device_.name);
}

void ReadAlongWindow::ShowProperties() {
    media_.showProperties(device_, this, device_.name, 30, 30);
}

void ReadAlongWindow::CloseReadAlong() {
    if (closed_)
        return;
    StopActivity();
    if (recorder_) {
        recorder_->Close();
        recorder_.reset();
    }
    if (lessonPlayer_) {
        lessonPlayer_->Close();
        lessonPlayer_.reset();
    }
    device_ = {};
    closed_ = true;
    hide();
    if (host_.closed)
        host_.closed();
}

int ReadAlongWindow::currentSentence() const {
    const subtitles::SubtitleDocument* doc = host_.document();
    if (doc == nullptr || doc->lineCount() == 0)
        return -1;
    const int line = std::clamp(host_.currentLine(), 0, doc->lineCount() - 1);
    return doc->sentenceOfLine(line, host_.mode()).sentence;
}

subtitles::LineRange ReadAlongWindow::currentLines() const {
    // Only called with a document that has lines.
    return host_.document()->linesOfSentence(currentSentence(), host_.mode());
}

bool ReadAlongWindow::pitchShown() const {
    return !pitchPlot_->isHidden();
}

void ReadAlongWindow::TogglePitch() {
    setPitchShown(!pitchShown());
    host_.settings->follow_bPitch = pitchShown();
}

void ReadAlongWindow::setPitchShown(bool shown) {
    pitchPlot_->setVisible(shown);
    toolbarAction(CmdReadAlongPitch)->setChecked(shown);
    fitSize();
    requestPitch();
}

void ReadAlongWindow::requestPitch() {
    const subtitles::SubtitleDocument* doc = host_.document();
    if (!pitchShown() || doc == nullptr || doc->lineCount() == 0)
        return;
    const int sentence = currentSentence();
    const subtitles::LineRange lines = currentLines();
    pitch::PitchRequest request;
    request.lessonPath = host_.lessonPath();
    request.startMs = std::max(0, doc->line(lines.first).startMs);
    request.endMs = doc->lineEndMs(lines.last, int(host_.lessonLengthMs()));
    const QString recording = host_.settings->follow_destFile;
    if (recordedSentence_ == sentence && QFile::exists(recording))
        request.recordingPath = recording;
    pitchSyllables_.clear();
    if (annotator_ && host_.sentenceText) {
        for (const pronunciation::Piece& piece : annotator_(host_.sentenceText()))
            if (!piece.syllable.isEmpty())
                pitchSyllables_.append({piece.syllable, piece.tone});
    }
    request.syllables = int(pitchSyllables_.size());
    if (!analyser_) {
        analyser_ = std::make_unique<pitch::PitchAnalyser>();
        analyser_->onResult = [this](const pitch::PitchOutcome& outcome) { showPitch(outcome); };
    }
    if (pitchPlot_->data().lesson.empty())
        pitchPlot_->setMessage(QCoreApplication::translate("ReadAlongWindow", "正在分析…"));
    analyser_->request(std::move(request));
}

void ReadAlongWindow::showPitch(const pitch::PitchOutcome& outcome) {
    if (!outcome.lessonError.isEmpty()) {
        pitchPlot_->setData({});
        pitchPlot_->setMessage(QCoreApplication::translate("ReadAlongWindow", "读取原声失败：%1")
                                   .arg(outcome.lessonError));
        return;
    }
    PitchPlotData data;
    data.lesson = outcome.lesson;
    data.learner = outcome.learner;
    data.score = outcome.score;
    if (qsizetype(outcome.syllables.size()) == pitchSyllables_.size()) {
        for (qsizetype i = 0; i < pitchSyllables_.size(); ++i) {
            PitchPlotData::Syllable syllable = pitchSyllables_[i];
            syllable.firstFrame = outcome.syllables[size_t(i)].first;
            syllable.lastFrame = outcome.syllables[size_t(i)].last;
            data.syllables.append(syllable);
        }
    }
    if (!outcome.learnerError.isEmpty())
        data.note = QCoreApplication::translate("ReadAlongWindow", "读取录音失败：%1")
                        .arg(outcome.learnerError);
    else if (outcome.learnerSilent)
        data.note = QCoreApplication::translate("ReadAlongWindow", "录音里没有听到说话");
    else if (!outcome.request.recordingPath.isEmpty() && !outcome.score)
        data.note =
            QCoreApplication::translate("ReadAlongWindow", "录音太短或与原声对不上，不评分");
    const bool voiced =
        std::any_of(data.lesson.begin(), data.lesson.end(), [](float v) { return !std::isnan(v); });
    pitchPlot_->setData(std::move(data));
    pitchPlot_->setMessage(
        voiced ? QString() : QCoreApplication::translate("ReadAlongWindow", "这一句听不出音高"));
}

void ReadAlongWindow::ExportPitchImage() {
    if (!pitchShown() || pitchPlot_->data().lesson.empty()) {
        if (host_.invalidInputSound)
            host_.invalidInputSound();
        return;
    }
    const QFileInfo lesson(host_.lessonPath());
    const QString suggested = lesson.dir().filePath(
        QStringLiteral("%1-%2.png").arg(lesson.completeBaseName()).arg(currentSentence()));
    QString path = media_.askImagePath(this, suggested);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".png");
    QString error;
    if (!pitchPlot_->savePng(path, &error))
        fail(QCoreApplication::translate("ReadAlongWindow", "导出图片失败：\r\n%s"), error);
}

bool ReadAlongWindow::event(QEvent* event) {
    if (event->type() == media::kGraphNotifyEvent) {
        OnReadAlongGraphEvent();
        return true;
    }
    return QMainWindow::event(event);
}

void ReadAlongWindow::closeEvent(QCloseEvent* event) {
    CloseReadAlong();
    event->accept();
}

} // namespace lurvo::readalong
