#pragma once

#include "player/PlaybackState.h"

namespace lurvo::app {

using PlayState = player::PlayState;

} // namespace lurvo::app
