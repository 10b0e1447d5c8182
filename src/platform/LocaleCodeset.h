#pragma once

#include <QByteArray>

namespace lurvo::platform {

// The character set of the user's locale as the environment sets it (LC_ALL, LC_CTYPE, LANG),
// e.g. "UTF-8", "GBK" or "BIG5-HKSCS". Reads the environment without changing the process
// locale; gives "ANSI_X3.4-1968" for the C locale and an empty array if the locale is unknown.
QByteArray localeCodeset();

} // namespace lurvo::platform
