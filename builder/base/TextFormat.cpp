#include "base/TextFormat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <vector>

namespace TextFormat {

namespace {

std::string vformat(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<std::size_t>(needed));
}

locale_t classicLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

} // namespace

std::string cformat(const char* format, ...)
{
    // Switch this thread to the classic locale for the one call; the process locale stays.
    locale_t previous = uselocale(classicLocale());
    va_list args;
    va_start(args, format);
    std::string result = vformat(format, args);
    va_end(args);
    uselocale(previous);
    return result;
}

std::string localFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = vformat(format, args);
    va_end(args);
    return result;
}

long long nowOrSourceDateEpoch(bool* fromEnvironment)
{
    if (fromEnvironment)
        *fromEnvironment = false;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        char* end = nullptr;
        const long long value = std::strtoll(epoch, &end, 10);
        if (end != epoch && *end == '\0' && value >= 0) {
            if (fromEnvironment)
                *fromEnvironment = true;
            return value;
        }
    }
    return static_cast<long long>(std::time(nullptr));
}

std::string localTime(const char* strftimeFormat, bool reproducible)
{
    bool fixed = false;
    const std::time_t t = reproducible ? static_cast<std::time_t>(nowOrSourceDateEpoch(&fixed)) : std::time(nullptr);
    std::tm parts{};
    if (fixed)
        gmtime_r(&t, &parts);
    else
        localtime_r(&t, &parts);
    char buffer[256];
    const std::size_t n = std::strftime(buffer, sizeof buffer, strftimeFormat, &parts);
    return std::string(buffer, n);
}

} // namespace TextFormat
