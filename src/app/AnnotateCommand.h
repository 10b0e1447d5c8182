#pragma once

#include "pronunciation/Pronouncer.h"

#include <QString>

// "--annotate LESSON.lrc OUT.lrc": the lesson's subtitles written with their Jyutping, for
// scripts, without a window.
namespace lurvo::app {

// Environment variables read by the command line only, so that tests can point it at a small
// dictionary and a cache of their own rather than the installed package and the user's cache:
// the dictionary folder (the three jyut6ping3 files) and the index cache file.
inline constexpr char kDictionaryFolderVariable[] = "LURVO_DICTIONARY_FOLDER";
inline constexpr char kIndexCacheVariable[] = "LURVO_INDEX_CACHE";

// The sources the command line uses: the defaults unless the variables above say otherwise.
pronunciation::PronunciationSources annotateSources();

// The MP3 a subtitle file belongs to: the same name with ".mp3" beside it; empty when none.
QString lessonAudioBeside(const QString& lrcPath);

// Writes lrcPath's lines and readings to outPath, with the per-lesson offset that dataFolder
// keeps for the MP3 beside it. Needs a QCoreApplication: the dictionary loads as the program's
// does, in a worker thread, while an event loop waits. The message for standard error on failure,
// empty on success.
QString annotateLesson(const QString& lrcPath, const QString& outPath,
                       const pronunciation::PronunciationSources& sources,
                       const QString& dataFolder);

} // namespace lurvo::app
