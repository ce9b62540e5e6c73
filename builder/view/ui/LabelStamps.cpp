#include "view/ui/LabelStamps.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <utility>

LabelStamps::LabelStamps(const QFont& font, Method wanted) : font_(font), method_(Method::painter)
{
    if (wanted == Method::characters && learnCharacters())
        method_ = Method::characters;
}

QFont LabelStamps::mapFont()
{
    QFont font("Arial");
    font.setPointSize(7);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

LabelStamps& LabelStamps::shared()
{
    static LabelStamps labels(mapFont());
    return labels;
}

std::vector<PixelStamp> LabelStamps::draw(const std::vector<QString>& texts) const
{
    // All texts in cells of one picture with one painter; the padding keeps every text in its cell.
    const QFontMetrics metrics(font_);
    const int pad = 8;
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    const int count = static_cast<int>(texts.size());
    const int cellWidth = widest + 2 * pad, cellHeight = metrics.ascent() + metrics.descent() + 2 * pad;
    const int columns = std::max(1, std::min(count, 4096 / cellWidth));
    const int rows = (count + columns - 1) / columns;
    QImage picture(columns * cellWidth, rows * cellHeight, QImage::Format_ARGB32_Premultiplied);
    std::vector<PixelStamp> stamps(texts.size());
    if (picture.isNull())
        return stamps;
    picture.fill(0);
    {
        QPainter p(&picture);
        p.setFont(font_);
        p.setPen(Qt::white);
        for (int i = 0; i < count; ++i)
            p.drawText(QPoint(i % columns * cellWidth + pad, i / columns * cellHeight + pad + metrics.ascent()),
                       texts[i]);
    }
    std::vector<std::pair<int, int>> offsets;
    for (int i = 0; i < count; ++i) {
        const int cx = i % columns * cellWidth, cy = i / columns * cellHeight;
        offsets.clear();
        for (int y = 0; y < cellHeight; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(cy + y)) + cx;
            for (int x = 0; x < cellWidth; ++x)
                if (qAlpha(line[x]) != 0)
                    offsets.emplace_back(x - pad, y - pad - metrics.ascent());
        }
        stamps[i] = PixelStamp::fromOffsets(offsets);
    }
    return stamps;
}

bool LabelStamps::learnCharacters()
{
    const QFontMetricsF exact(font_);
    const QFontMetrics metrics(font_);
    std::vector<QString> characters;
    for (char c : LabelGlyphs::kCharacters)
        characters.push_back(QString(QChar(c)));
    std::vector<PixelStamp> alone = draw(characters);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        // The pen moves in whole 1/64 pixels; anything else is not a font this understands.
        const double advance64 = exact.horizontalAdvance(characters[i]) * 64.0;
        if (!(advance64 >= 0.0 && advance64 < 65536.0) || advance64 != std::round(advance64))
            return false;
        glyphs_.setGlyph(LabelGlyphs::kCharacters[i], std::move(alone[i]), static_cast<int>(advance64));
    }
    // Every pair of characters side by side in one text (kerning, and the pen at many fractions
    // of a pixel), each character alone, and labels of every length with and without a sign.
    std::string pairs;
    for (char a : LabelGlyphs::kCharacters)
        for (char b : LabelGlyphs::kCharacters)
            pairs += {a, b};
    std::vector<std::string> texts = {pairs, "-2147483648", "2147483647"};
    for (char c : LabelGlyphs::kCharacters)
        texts.emplace_back(1, c);
    const std::string digits = "9876543210";
    for (std::size_t n = 1; n <= digits.size(); ++n) {
        texts.push_back(digits.substr(0, n));
        texts.push_back("-" + digits.substr(digits.size() - n));
    }
    std::vector<QString> qtexts;
    for (const std::string& text : texts)
        qtexts.push_back(QString::fromStdString(text));
    // The long text in a picture of its own, so the short ones keep small cells.
    std::vector<PixelStamp> painted = draw({qtexts[0]});
    std::vector<PixelStamp> rest = draw({qtexts.begin() + 1, qtexts.end()});
    std::move(rest.begin(), rest.end(), std::back_inserter(painted));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (glyphs_.width(texts[i]) != metrics.horizontalAdvance(qtexts[i]))
            return false;
        if (!(glyphs_.textPixels(texts[i]) == painted[i]))
            return false;
    }
    return true;
}

PixelStamp LabelStamps::drawn(std::int32_t altitude) const
{
    const QString text = QString::number(altitude);
    PixelStamp stamp = std::move(draw({text})[0]);
    stamp.left -= QFontMetrics(font_).horizontalAdvance(text) / 2;
    return stamp;
}

const PixelStamp* LabelStamps::find(std::int32_t altitude)
{
    const std::lock_guard lock(mutex_);
    const auto found = stamps_.find(altitude);
    if (found != stamps_.end())
        return &found->second;
    if (method_ != Method::characters)
        return nullptr;
    return &stamps_.emplace(altitude, glyphs_.label(altitude)).first->second;
}

void LabelStamps::make(const std::vector<std::int32_t>& altitudes)
{
    std::vector<std::int32_t> missing;
    {
        const std::lock_guard lock(mutex_);
        for (std::int32_t altitude : altitudes)
            if (!stamps_.contains(altitude))
                missing.push_back(altitude);
    }
    if (missing.empty())
        return;
    std::vector<PixelStamp> made;
    if (method_ == Method::characters) {
        for (std::int32_t altitude : missing)
            made.push_back(glyphs_.label(altitude));
    } else {
        const QFontMetrics metrics(font_);
        std::vector<QString> texts;
        for (std::int32_t altitude : missing)
            texts.push_back(QString::number(altitude));
        made = draw(texts);
        for (std::size_t i = 0; i < made.size(); ++i)
            made[i].left -= metrics.horizontalAdvance(texts[i]) / 2;
    }
    const std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < missing.size(); ++i)
        stamps_.try_emplace(missing[i], std::move(made[i]));
}
