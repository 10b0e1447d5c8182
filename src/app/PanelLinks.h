#pragma once

#include "readalong/ReadAlongWindow.h"

namespace lurvo::app {

class RepeaterApp;

// Connects the main window's panels to the application: what they read at every paint and
// what their controls do to the settings and the open lesson.
void linkPanels(RepeaterApp& app);

// The offset dialog for the open lesson; after "确定" the lines move, the current line follows
// the playing position and the list shows the new times.
void ChangeLessonOffset(RepeaterApp& app);

// What the read-along window reads from the open lesson and asks of the main window.
readalong::ReadAlongHost readAlongHost(RepeaterApp& app);

// After a change of sentence mode: the list, sentence panel and status bar regroup at once.
void RegroupSentences(RepeaterApp& app);

} // namespace lurvo::app
