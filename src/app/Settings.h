#pragma once

#include <QString>

// The user's settings, kept in section "options" of "options.ini" in the data folder.
namespace lurvo::app {

// File name and section of the settings inside the data folder.
inline constexpr char16_t kSettingsFileName[] = u"options.ini";
inline constexpr char16_t kSettingsSection[] = u"options";

// Every member under its key name. The defaults are those of a first start.
struct Settings {
    bool bMute = false;
    int volume = -500; // hundredths of a decibel, -10000 (silent) to 0; stored plus 10000
    bool bFileLoopPlay = true;
    int lrcMode = 0;    // subtitles::SentenceMode, 0 to 2
    int totalCount = 3; // passes per sentence, 1 to 9; 0 repeats without end
    int fs = 0;         // sentence font size: 0 small, 1 medium, 2 large
    int w_msx = 105;    // list column widths in pixels: time,
    int w_pointer = 60; // pointer mark,
    int w_senno = 65;   // sentence number,
    int w_text = 1000;  // and text
    bool follow_bAutoPlay = true;
    int follow_aDevId = 0;      // recording device index of the read-along window
    QString follow_destFile;    // its recording file, a path of any length
    bool follow_bPitch = false; // the read-along window's pitch plot is folded out
    int speedPercent = 100;     // playback speed, 50 to 200 in steps of 5; the pitch stays
    int gapMode = 0;            // time to speak after each pass: player::GapMode, 0 to 2
    int gapValue = 0;           // seconds (1 to 10) or percent of the sentence (50 to 200 by 50)
    bool showJyutping = true;   // the readings over the sentences
    int channel = 0;            // audio channel: 0 both, 1 left, 2 right
    // The main window as the learner left it: its place and size when not maximised (a size of
    // 0 by 0 until it was first stored), and whether it was maximised.
    int windowX = 0;
    int windowY = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    bool bMaximized = false;
    QString uiLanguage; // "zh_CN", "zh_HK" or "en"; empty follows the system

    bool operator==(const Settings&) const = default;
};

struct LoadedSettings {
    Settings settings;
    QString message; // an error text to show (string 1062), empty when all went well
};

struct SavedSettings {
    QString message; // an error text to show (string 1063), empty when all went well
    bool ok() const { return message.isEmpty(); }
};

// Reads the settings of the data folder (the "LurvoRepeater" folder itself), with defaults for
// what is missing and out-of-range values corrected. A file of 1 MiB or more is taken for
// damage and deleted. A file that exists but cannot be read gives the message to show.
LoadedSettings LoadSettings(const QString& dataFolder);

// Writes every setting into the data folder, creating it and the file as needed: a plain file
// where the folder belongs and a folder where the file belongs are removed first. When the
// first key cannot be written nothing more is tried and the result holds the message to show.
SavedSettings SaveSettings(const Settings& settings, const QString& dataFolder);

// The slowest and fastest speed, and the step between speeds the learner can choose.
inline constexpr int kMinSpeedPercent = 50;
inline constexpr int kMaxSpeedPercent = 200;
inline constexpr int kSpeedStepPercent = 5;

// A speed within range on the nearest step.
int snappedSpeedPercent(int percent);
// The wait's value as stored for its mode: anything that does not fit the mode becomes the
// mode's own default (2 seconds, or 100 percent of the sentence); 0 for no wait.
int fittingGapValue(int gapMode, int gapValue);

// Character height in pixels of the sentence display font for a font size setting.
int displayFontPixelHeight(int fs);

} // namespace lurvo::app
