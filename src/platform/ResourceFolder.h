#pragma once

#include <QString>

namespace lurvo::platform {

// The folder of the program's own files (sample lesson, sounds, web pages, helper programs):
// "resources" beside the executable in a build tree, <prefix>/share/lurvo-repeater installed.
QString resourceFolder();

// A helper program by name: in the resource folder first, then on PATH; empty when absent.
QString findProgram(const QString& name, const QString& resourceFolder);

} // namespace lurvo::platform
