// Coordinate texts: the decimal and d:m:s forms, and every way a user may type a coordinate.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "output/Coordinates.h"

TEST(Coordinates, FormatsDecimalAndDms)
{
    struct Case {
        double value;
        int dms;
        const char* text;
    };
    const Case cases[] = {
        {45.5, 0, "45.500000"},
        {-0.25, 0, "-0.250000"},
        {0.0, 0, "0.000000"},
        {-73.5125, 0, "-73.512500"},
        {45.5, 1, "45:30:0.00"},
        {-73.5125, 1, "-73:30:45.00"},
        {0.0002, 1, "0:0:0.72"},
        {0.0, 1, "0:0:0.00"},
        {-0.0001, 1, "-0:0:0.36"},       // the sign survives zero degrees
        {-0.5, 1, "-0:30:0.00"},
        {45.9999999, 1, "45:59:60.00"},  // seconds that round up print as 60.00
        {90.0, 1, "90:0:0.00"},
        {-180.0, 1, "-180:0:0.00"},
        {12.75, 7, "12:45:0.00"},        // any non-zero form means d:m:s
        {1.0 / 60, 1, "0:1:0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatCoordinate(c.value, c.dms), c.text);
    }
}

TEST(Coordinates, SplitsIntoUnsignedPartsAndASign)
{
    struct Case {
        double value;
        int degrees, minutes;
        double seconds;
        int sign;
    };
    const Case cases[] = {
        {45.5, 45, 30, 0.0, 1},
        {-73.5125, 73, 30, 45.0, -1},
        {0.0, 0, 0, 0.0, 1},
        {-0.0, 0, 0, 0.0, 1},            // negative zero is not below zero
        {-0.75, 0, 45, 0.0, -1},
        {1.0 / 3600, 0, 0, 1.0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const DmsParts p = splitDms(c.value);
        EXPECT_EQ(p.degrees, c.degrees);
        EXPECT_EQ(p.minutes, c.minutes);
        EXPECT_NEAR(p.seconds, c.seconds, 1e-6);
        EXPECT_EQ(p.sign, c.sign);
    }
}

TEST(Coordinates, ParsesSignsHemisphereLettersAndDmsText)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"", 0.0},
        {"S45:30:00", -45.5},
        {"45:30:00 S", -45.5},
        {"-45:30:00", -45.5},
        {"-45.5", -45.5},
        {"45:30", 45.5},                 // no seconds
        {"W73:30:45", -73.5125},
        {"w73:30:45", -73.5125},
        {"E73:30:45", 73.5125},
        {"73:30:45 e", 73.5125},
        {"N45:30", 45.5},
        {"-45:30 S", 45.5},              // a minus and a southern letter cancel out
        {"N45 N", 45.0},                 // only the first letter is blanked; the rest ends the number
        {"-0:30:00", -0.5},              // minutes follow the minus of the degree text
        {"0:-30:00", -0.5},              // a minus of the minutes alone counts once
        {"  12.25", 12.25},
        {"12:xx:30", 12.0 + 30.0 / 3600},  // an unreadable part counts as 0
        {"abc", 0.0},
        {"45:30:15:99", 45.0 + 30.0 / 60 + 15.0 / 3600},  // the seconds text stops at the third colon
        {"4.5e1", 4.5},                  // the exponent letter is a hemisphere letter and is blanked first
        {"S10 W", -10.0},                // one sign for the whole text
        {"0x1A", 0.0},                   // decimal numbers only: no hexadecimal
        {"N0:0:inf", 0.0},               // nor infinity or NaN words
        {"N0:nan:0", 0.0},
        {"E.5", 0.5},
        {"N45.:30", 45.5},
        {"+.", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(parseCoordinate(c.text), c.value, 1e-12);
    }
}

TEST(Coordinates, DmsRoundTripKeepsHundredthsOfASecond)
{
    const double values[] = {45.5, -73.5125, 0.0002, -0.0001, 179.999, -89.123456, 12.3456789};
    for (double v : values) {
        SCOPED_TRACE(v);
        const double back = parseCoordinate(formatCoordinate(v, 1));
        EXPECT_NEAR(back, v, 0.005 / 3600 + 1e-12);
        EXPECT_NEAR(parseCoordinate(formatCoordinate(v, 0)), v, 0.5e-6 + 1e-12);
    }
    // The converter's own example both ways.
    EXPECT_EQ(formatCoordinate(parseCoordinate("W73:30:45"), 0), "-73.512500");
    EXPECT_EQ(formatCoordinate(parseCoordinate("-73.512500"), 1), "-73:30:45.00");
}

TEST(Coordinates, HugeAndNonFiniteValuesFormatWithoutFailing)
{
    // Text of hundreds of digits reads as infinity; formatting it must stay defined.
    const double inf = parseCoordinate(std::string(400, '9'));
    ASSERT_TRUE(std::isinf(inf));
    for (double v : {inf, -inf, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
        const DmsParts p = splitDms(v);
        EXPECT_GE(p.degrees, 0);
        EXPECT_GE(p.minutes, 0);
        EXPECT_FALSE(formatCoordinate(v, 1).empty());
        EXPECT_FALSE(formatCoordinate(v, 0).empty());
    }
}

TEST(Coordinates, FollowsTheDecimalCommaOfTheProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no de_DE locale on this machine";
    const double decimal = parseCoordinate("-45,5");
    const double dms = parseCoordinate("W73:30:45,5");
    const double pointText = parseCoordinate("45.75");   // the point ends the number under this locale
    const std::string formatted = formatCoordinate(-73.5125, 0);
    const std::string formattedDms = formatCoordinate(0.0002, 1);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_DOUBLE_EQ(decimal, -45.5);
    EXPECT_NEAR(dms, -(73 + 30.0 / 60 + 45.5 / 3600), 1e-12);
    EXPECT_DOUBLE_EQ(pointText, 45.0);
    EXPECT_EQ(formatted, "-73,512500");
    EXPECT_EQ(formattedDms, "0:0:0,72");
}
