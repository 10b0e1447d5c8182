#pragma once

namespace lurvo::player {

enum class PlayState { Stopped = 0, Paused = 1, Playing = 2 };

// The playback state of the open lesson, which the panels read.
struct PlaybackState {
    bool lessonLoaded = false;
    PlayState playState = PlayState::Stopped;
    int currentLine = 0; // the line being played; in two-line modes possibly a sentence's tail
    int passCount = 0;   // times the current sentence has been started; 0 after a stop
};

} // namespace lurvo::player
