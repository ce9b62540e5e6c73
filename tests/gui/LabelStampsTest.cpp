// Altitude labels put together from their characters' pixels are exactly what the painter draws,
// for labels of every length with and without a sign; a font that does not pass the check gets
// its labels from the painter.
#include <QtTest>
#include <climits>
#include <random>
#include <vector>

#include "view/ui/LabelStamps.h"

namespace {

// The labels of these altitudes made by `labels`, against the same font's labels drawn with the painter.
QString compare(LabelStamps& labels, const std::vector<std::int32_t>& altitudes)
{
    LabelStamps painter(labels.font(), LabelStamps::Method::painter);
    painter.make(altitudes);
    labels.make(altitudes);
    int differ = 0;
    QString first;
    for (std::int32_t altitude : altitudes) {
        const PixelStamp* made = labels.find(altitude);
        const PixelStamp* drawn = painter.find(altitude);
        if (!made || !drawn)
            return QString("no label of %1").arg(altitude);
        if (!(*made == *drawn) && differ++ == 0)
            first = QString::number(altitude);
    }
    return differ == 0 ? QString() : QString("%1 labels differ, the first %2").arg(differ).arg(first);
}

} // namespace

class LabelStampsTest : public QObject {
    Q_OBJECT

private slots:
    void labelsFromCharactersAreWhatThePainterDraws()
    {
        LabelStamps labels(LabelStamps::mapFont());
        // The map's font on this platform passes the check, or the fast way would never be tried here.
        QCOMPARE(labels.method(), LabelStamps::Method::characters);
        // Every label of up to four digits and many of five, with and without a sign; random ones
        // of every length; the extremes.
        std::vector<std::int32_t> altitudes;
        for (std::int32_t a = -12000; a <= 30000; ++a)
            altitudes.push_back(a);
        std::mt19937 random(5);
        for (int digits = 1; digits <= 10; ++digits) {
            const long long low = digits == 1 ? 0 : static_cast<long long>(std::pow(10, digits - 1));
            const long long high = std::min<long long>(static_cast<long long>(std::pow(10, digits)) - 1, INT_MAX);
            std::uniform_int_distribution<long long> pick(low, high);
            for (int n = 0; n < 400; ++n) {
                const auto v = static_cast<std::int32_t>(pick(random));
                altitudes.push_back(v);
                altitudes.push_back(-v);
            }
        }
        for (std::int32_t v : {INT_MIN, INT_MAX, INT_MIN + 1, -1000000000, 1000000000, 1111111111, -1111111111})
            altitudes.push_back(v);
        const QString diff = compare(labels, altitudes);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        // The same through find alone, as the renderer asks, and through a label drawn on its own.
        LabelStamps fresh(LabelStamps::mapFont());
        for (std::int32_t v : {-2147483647 - 1, -1, 0, 8, 42, 2999, 123456789}) {
            const PixelStamp* made = fresh.find(v);
            QVERIFY(made);
            QVERIFY2(*made == fresh.drawn(v), qPrintable(QString::number(v)));
            QVERIFY(!made->empty());
            QCOMPARE(fresh.find(v), made);   // made once, then kept
        }
    }

    void otherFontsGetThePaintersLabelsEitherWay()
    {
        // Whichever way a font's labels are made, they are the painter's; smoothed text (pixels
        // that depend on where the pen stands) does not pass the check.
        QFont smooth = LabelStamps::mapFont();
        smooth.setStyleStrategy(QFont::PreferAntialias);
        smooth.setPixelSize(13);
        QFont bold = LabelStamps::mapFont();
        bold.setBold(true);
        bold.setPixelSize(17);
        QFont italic("Serif");
        italic.setItalic(true);
        italic.setPixelSize(11);
        italic.setStyleStrategy(QFont::NoAntialias);
        std::vector<std::int32_t> altitudes;
        std::mt19937 random(9);
        for (int n = 0; n < 1500; ++n)
            altitudes.push_back(static_cast<std::int32_t>(random()) >> (n % 31));
        altitudes.push_back(INT_MIN);
        for (const QFont* f : {&smooth, &bold, &italic}) {
            const QFont& font = *f;
            LabelStamps labels(font);
            if (&font == &smooth)
                QCOMPARE(labels.method(), LabelStamps::Method::painter);
            const QString diff = compare(labels, altitudes);
            QVERIFY2(diff.isEmpty(), qPrintable(QString("%1: %2").arg(font.toString(), diff)));
        }
        // Labels asked for the painter's way wait to be drawn.
        LabelStamps painter(LabelStamps::mapFont(), LabelStamps::Method::painter);
        QCOMPARE(painter.method(), LabelStamps::Method::painter);
        QVERIFY(!painter.find(123));
        painter.make({123});
        QVERIFY(painter.find(123));
        QVERIFY(*painter.find(123) == painter.drawn(123));
    }
};

QTEST_MAIN(LabelStampsTest)
#include "LabelStampsTest.moc"
