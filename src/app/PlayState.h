#pragma once

namespace lurvo::app {

enum class PlayState { Stopped = 0, Paused = 1, Playing = 2 };

} // namespace lurvo::app
