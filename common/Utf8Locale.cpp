#include "common/Utf8Locale.h"

#include <clocale>
#include <cstring>
#include <initializer_list>
#include <langinfo.h>
#include <strings.h>

namespace {

bool IsUtf8(const char* codeset)
{
    return codeset && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "utf8") == 0);
}

} // namespace

// Qt 6.4's QCoreApplication only applies the environment's locale
// (setlocale(LC_ALL, "")) and assumes UTF-8 for its own 8-bit conversions,
// whatever the locale says; it leaves the C library's LC_CTYPE at "C" when
// no locale is set (later Qt versions switch LC_CTYPE to UTF-8 themselves).
// The C library's conversions, which the ODBC drivers use, still follow
// LC_CTYPE, so the step is ours to take.
bool EnsureUtf8Locale()
{
    if (IsUtf8(nl_langinfo(CODESET)))
        return true;
    // The user's own language in its UTF-8 form first, then the one that
    // glibc always has.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    if (current && *current && std::strcmp(current, "C") != 0 &&
        std::strcmp(current, "POSIX") != 0) {
        char name[128];
        std::size_t length = std::strcspn(current, ".@");
        if (length < sizeof(name) - sizeof(".UTF-8")) {
            std::memcpy(name, current, length);
            std::memcpy(name + length, ".UTF-8", sizeof(".UTF-8"));
            if (std::setlocale(LC_CTYPE, name) && IsUtf8(nl_langinfo(CODESET)))
                return true;
        }
    }
    for (const char* fallback : {"C.UTF-8", "C.utf8"}) {
        if (std::setlocale(LC_CTYPE, fallback) && IsUtf8(nl_langinfo(CODESET)))
            return true;
    }
    return false;
}
