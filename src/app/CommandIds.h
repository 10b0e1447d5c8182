#pragma once

namespace lurvo::app {

// Numeric ids of menu items, accelerator keys and toolbar buttons; every QAction carries its id.
enum CommandId : int {
    CmdAbout = 104,
    CmdExit = 105,
    CmdOpen = 32771,
    CmdPlayPause = 32772,
    CmdStop = 32773,
    CmdPrevious = 32775,
    CmdNext = 32776,
    CmdFirst = 32779,
    CmdDownloads = 32781,
    CmdCloseLesson = 32782,
    CmdHelp = 32784,
    CmdWebSite = 32786,
    CmdViewSubtitles = 32810,
    CmdTopmost = 32811,
    CmdBackFive = 32827,
    CmdReadAlong = 32834,
    CmdChannelStereo = 32839,
    CmdChannelLeft = 32840,
    CmdChannelRight = 32841,
    CmdSampleLesson = 32846,
    CmdLearningSite = 32847,
    CmdRepeat = 32849,
    CmdForwardFive = 32851,
    CmdSplit = 32861,
    CmdLast = 32863,
    CmdFontSmall = 32868,
    CmdFontMedium = 32869,
    CmdFontLarge = 32870,
    CmdDictionary = 32871,
    // Playback speed: the menu's fixed speeds, then a step slower, a step faster, normal.
    CmdSpeed50 = 32901,
    CmdSpeed60 = 32902,
    CmdSpeed75 = 32903,
    CmdSpeed90 = 32904,
    CmdSpeed100 = 32905,
    CmdSpeed125 = 32906,
    CmdSpeed150 = 32907,
    CmdSlower = 32908,
    CmdFaster = 32909,
    CmdNormalSpeed = 32910,
    CmdShowJyutping = 32911,
    CmdExportJyutping = 32912,
    // Language of the user interface: the system's, or one of the three.
    CmdLanguageSystem = 32915,
    CmdLanguageSimplified = 32916,
    CmdLanguageTraditional = 32917,
    CmdLanguageEnglish = 32918,

    // Read-along window (its own accelerator table).
    CmdReadAlongPrevious = 32853,
    CmdReadAlongNext = 32854,
    CmdReadAlongClose = 32858,
    CmdReadAlongPlayLesson = 32864,
    CmdReadAlongPlayRecording = 32865,
    CmdReadAlongRecord = 32866,
    CmdReadAlongPlayBoth = 32867,
    CmdReadAlongPitch = 32913,
    CmdReadAlongExportPitch = 32914,
};

// The fixed speeds of the menu, in percent, and their commands.
inline constexpr struct {
    int command;
    int percent;
} kSpeedCommands[] = {{CmdSpeed50, 50},   {CmdSpeed60, 60},   {CmdSpeed75, 75},  {CmdSpeed90, 90},
                      {CmdSpeed100, 100}, {CmdSpeed125, 125}, {CmdSpeed150, 150}};

} // namespace lurvo::app
