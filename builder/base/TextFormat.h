#pragma once
// printf-style formatting for generated files: numbers always use a point as decimal
// separator, whatever locale the program runs in. Texts shown to the user use `localFormat`.

#include <string>

namespace TextFormat {

/// vsnprintf under the classic "C" locale (for file contents such as SCASM sources).
std::string cformat(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// vsnprintf under the process locale (for texts shown to the user).
std::string localFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// strftime of the current time under the process locale. For generated files pass
/// `reproducible` = true: SOURCE_DATE_EPOCH, when set, then gives the time (taken in UTC) so the
/// output can be reproduced; clocks shown on screen pass false and always show the real time.
std::string localTime(const char* strftimeFormat, bool reproducible = true);

/// The current time as seconds since the epoch, or SOURCE_DATE_EPOCH when that is set and valid.
long long nowOrSourceDateEpoch(bool* fromEnvironment = nullptr);

} // namespace TextFormat
