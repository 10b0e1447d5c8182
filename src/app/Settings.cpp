#include "app/Settings.h"

#include "app/StringTable.h"

#include "app/IniFile.h"
#include "platform/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace lurvo::app {

namespace {

// A settings file this large is damage, not settings.
constexpr qint64 kOversizedSettingsBytes = 1024 * 1024;
// A window position or size beyond this is damage too: no screen is that large.
constexpr int kMaxWindowSide = 32767;
constexpr int kStoredVolumeOffset = 10000;
constexpr int kDefaultStoredVolume = 9500;

QString withPath(int textId, const QString& path) {
    return stringText(textId, QDir::toNativeSeparators(path));
}

QString settingsFile(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QString::fromUtf16(kSettingsFileName));
}

int limitedTo(int value, int low, int high) {
    return std::clamp(value, low, high);
}

int zeroUnlessWithin(int value, int low, int high) {
    return value < low || value > high ? 0 : value;
}

} // namespace

LoadedSettings LoadSettings(const QString& dataFolder) {
    const QString path = settingsFile(dataFolder);
    LoadedSettings result;

    // Nothing to flush: every read below goes to the file itself.
    const QFileInfo info(path);
    if (info.isFile() && info.size() >= kOversizedSettingsBytes) {
        platform::makeWritable(path);
        QFile::remove(path);
    }

    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) {
        probe.close();
    } else {
        const QFileInfo now(path);
        if (now.exists() && !now.isDir())
            result.message = withPath(1062, path);
    }

    const QString section = QString::fromUtf16(kSettingsSection);
    const auto readInt = [&](const char* key, int defaultValue) {
        return ini::readInt(path, section, QString::fromLatin1(key), defaultValue);
    };
    Settings& s = result.settings;
    s.bMute = readInt("bMute", 0) != 0;
    const int storedVolume = readInt("volume", kDefaultStoredVolume);
    s.volume = storedVolume >= 0 && storedVolume <= kStoredVolumeOffset
                   ? storedVolume - kStoredVolumeOffset
                   : kDefaultStoredVolume - kStoredVolumeOffset;
    s.bFileLoopPlay = readInt("bFileLoopPlay", 1) != 0;
    s.lrcMode = zeroUnlessWithin(readInt("lrcMode", 0), 0, 2);
    s.totalCount = limitedTo(readInt("totalCount", 3), 0, 9);
    s.fs = zeroUnlessWithin(readInt("fs", 0), 0, 2);
    s.w_msx = limitedTo(readInt("w_msx", 105), 35, 200);
    s.w_pointer = limitedTo(readInt("w_pointer", 60), 35, 200);
    s.w_senno = limitedTo(readInt("w_senno", 65), 35, 200);
    s.w_text = limitedTo(readInt("w_text", 1000), 200, 2048);
    s.follow_bAutoPlay = readInt("follow_bAutoPlay", 1) != 0;
    s.follow_aDevId = readInt("follow_aDevId", 0);
    s.follow_bPitch = readInt("follow_bPitch", 0) != 0;
    // Whole, however long: a path cut short would send the recording somewhere else.
    s.follow_destFile = ini::readString(path, section, QStringLiteral("follow_destFile"), {});
    s.speedPercent = snappedSpeedPercent(readInt("speedPercent", 100));
    s.gapMode = zeroUnlessWithin(readInt("gapMode", 0), 0, 2);
    s.gapValue = fittingGapValue(s.gapMode, readInt("gapValue", 0));
    s.showJyutping = readInt("showJyutping", 1) != 0;
    s.channel = zeroUnlessWithin(readInt("channel", 0), 0, 2);
    s.windowX = readInt("windowX", 0);
    s.windowY = readInt("windowY", 0);
    s.windowWidth = readInt("windowWidth", 0);
    s.windowHeight = readInt("windowHeight", 0);
    // Without a usable size there is no stored place: the window opens as on a first start.
    if (s.windowWidth <= 0 || s.windowHeight <= 0 || s.windowWidth > kMaxWindowSide ||
        s.windowHeight > kMaxWindowSide || std::abs(s.windowX) > kMaxWindowSide ||
        std::abs(s.windowY) > kMaxWindowSide) {
        s.windowX = s.windowY = s.windowWidth = s.windowHeight = 0;
    }
    s.bMaximized = readInt("bMaximized", 0) != 0;
    s.uiLanguage = ini::readString(path, section, QStringLiteral("uiLanguage"), {});
    return result;
}

SavedSettings SaveSettings(const Settings& settings, const QString& dataFolder) {
    if (!QFileInfo(dataFolder).isDir()) {
        platform::makeWritable(dataFolder);
        QFile::remove(dataFolder);
    }
    const QString path = settingsFile(dataFolder);
    if (QFileInfo(path).isDir())
        platform::DeleteFolderTree(path);
    else
        platform::makeWritable(path);
    platform::CreateFolderPath(path, false);

    // Starting with the UTF-16 mark makes every write below keep the file in UTF-16.
    if (!QFileInfo::exists(path)) {
        QFile created(path);
        if (created.open(QIODevice::WriteOnly))
            created.write("\xFF\xFE", 2);
    }

    const QString section = QString::fromUtf16(kSettingsSection);
    const auto writeInt = [&](const char* key, qint64 value) {
        return ini::writeString(path, section, QString::fromLatin1(key), QString::number(value));
    };
    if (!writeInt("bMute", settings.bMute))
        return {withPath(1063, path)};
    writeInt("bFileLoopPlay", settings.bFileLoopPlay);
    writeInt("volume", qint64(settings.volume) + kStoredVolumeOffset);
    writeInt("lrcMode", settings.lrcMode);
    writeInt("totalCount", settings.totalCount);
    writeInt("fs", settings.fs);
    writeInt("w_msx", settings.w_msx);
    writeInt("w_pointer", settings.w_pointer);
    writeInt("w_senno", settings.w_senno);
    writeInt("w_text", settings.w_text);
    ini::writeString(path, section, QStringLiteral("follow_destFile"), settings.follow_destFile);
    writeInt("follow_aDevId", settings.follow_aDevId);
    writeInt("follow_bAutoPlay", settings.follow_bAutoPlay);
    writeInt("speedPercent", settings.speedPercent);
    writeInt("gapMode", settings.gapMode);
    writeInt("gapValue", settings.gapValue);
    writeInt("showJyutping", settings.showJyutping);
    writeInt("follow_bPitch", settings.follow_bPitch);
    writeInt("channel", settings.channel);
    writeInt("windowX", settings.windowX);
    writeInt("windowY", settings.windowY);
    writeInt("windowWidth", settings.windowWidth);
    writeInt("windowHeight", settings.windowHeight);
    writeInt("bMaximized", settings.bMaximized);
    ini::writeString(path, section, QStringLiteral("uiLanguage"), settings.uiLanguage);
    return {};
}

int snappedSpeedPercent(int percent) {
    const int limited = limitedTo(percent, kMinSpeedPercent, kMaxSpeedPercent);
    // Halfway rounds up: 102 is 100, 103 is 105.
    return (limited + kSpeedStepPercent / 2) / kSpeedStepPercent * kSpeedStepPercent;
}

int fittingGapValue(int gapMode, int gapValue) {
    switch (gapMode) {
    case 1: // seconds
        return gapValue >= 1 && gapValue <= 10 ? gapValue : 2;
    case 2: // percent of the sentence
        return gapValue >= 50 && gapValue <= 200 && gapValue % 50 == 0 ? gapValue : 100;
    default:
        return 0;
    }
}

int displayFontPixelHeight(int fs) {
    switch (fs) {
    case 1:
        return 29;
    case 2:
        return 35;
    default:
        return 24;
    }
}

} // namespace lurvo::app
