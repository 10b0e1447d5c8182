#pragma once

#include <QString>

namespace lurvo::app {

// The user-visible texts by their numeric ids, exactly as the program shows them.
// An unknown id gives an empty text.
QString stringText(int id);

// A text with its one "%s" or "%S" filled in with the argument.
QString stringText(int id, const QString& argument);

// The product title, the caption of every message box of the main window.
inline QString productTitle() {
    return stringText(103);
}

} // namespace lurvo::app
