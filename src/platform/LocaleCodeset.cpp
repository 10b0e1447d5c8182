#include "platform/LocaleCodeset.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace lurvo::platform {

QByteArray localeCodeset() {
    // A private locale object, so the process-wide locale (which Qt and the C library share)
    // is left alone.
    locale_t loc = newlocale(LC_CTYPE_MASK, "", locale_t(nullptr));
    if (loc == locale_t(nullptr))
        return {};
    const QByteArray codeset(nl_langinfo_l(CODESET, loc));
    freelocale(loc);
    return codeset;
}

} // namespace lurvo::platform
