#include "output/Coordinates.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "base/TextFormat.h"

DmsParts splitDms(double value)
{
    DmsParts parts;
    parts.sign = value < 0 ? -1 : 1;
    const double t = std::fabs(value * 3600);
    // Casts of huge or NaN values are undefined: clamp to the int range first (an infinite
    // value typed as hundreds of digits gives NaN minutes through fmod).
    auto toInt = [](double v) { return std::isnan(v) ? 0 : v >= 2147483647.0 ? 2147483647 : static_cast<int>(v); };
    parts.degrees = toInt(t / 3600);
    if (parts.degrees != 0) {
        const double r = std::fmod(t, parts.degrees * 3600.0);
        parts.minutes = toInt(std::fabs(r / 60));
    } else {
        parts.minutes = toInt(t / 60);
    }
    parts.seconds = std::fabs(t - parts.minutes * 60.0 - parts.degrees * 3600.0);
    return parts;
}

std::string formatCoordinate(double value, int dms)
{
    if (dms == 0)
        return TextFormat::localFormat("%5.6f", value);
    const DmsParts p = splitDms(value);
    if (p.sign == -1)
        return TextFormat::localFormat("%c%d:%d:%2.2f", '-', p.degrees, p.minutes, p.seconds);
    return TextFormat::localFormat("%d:%d:%2.2f", p.degrees, p.minutes, p.seconds);
}

namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a decimal number from the start: blanks, a sign, digits with the locale's decimal
// separator, an exponent. No number gives 0. Only that form is handed to strtod, which would
// also take hexadecimal, "inf" and "nan".
double readNumber(const std::string& text)
{
    const std::string separator = std::localeconv()->decimal_point;
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++digits;
    if (!separator.empty() && text.compare(i, separator.size(), separator) == 0) {
        std::size_t j = i + separator.size();
        std::size_t fraction = 0;
        for (; j < text.size() && isDigit(text[j]); ++j)
            ++fraction;
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return std::strtod(text.substr(start, i - start).c_str(), nullptr);
}
} // namespace

double parseCoordinate(const std::string& input)
{
    if (input.empty())
        return 0.0;
    std::string text = input;
    double sign = 1.0;
    const std::size_t south = text.find_first_of("SsWw");
    if (south != std::string::npos) {
        text[south] = ' ';
        sign = -1.0;
    }
    const std::size_t north = text.find_first_of("NnEe");
    if (north != std::string::npos)
        text[north] = ' ';
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return sign * readNumber(text);
    const std::string degreeText = text.substr(0, colon);
    const std::string rest = text.substr(colon + 1);
    std::string minuteText = rest;
    std::string secondText;
    const std::size_t second = rest.find(':');
    if (second != std::string::npos) {
        minuteText = rest.substr(0, second);
        secondText = rest.substr(second + 1);
    }
    const double m = degreeText.find('-') != std::string::npos ? -1.0 : 1.0;
    const double value = readNumber(degreeText) + m * readNumber(minuteText) / 60 + m * readNumber(secondText) / 3600;
    return sign * value;
}
