#pragma once

namespace lurvo::app {

// Names the program to the desktop: the name its folders are found by and its desktop entry.
// It sets no display name: window systems would add one to every window's title, and each
// dialog's title is its own text.
void setApplicationIdentity();

} // namespace lurvo::app
