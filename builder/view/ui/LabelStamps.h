#pragma once
// The pixels each altitude label sets, relative to its record's point: the text centred on the
// point, its base line through it. Made once per altitude and kept; the map's labels are shared
// by every renderer, so a second window, a zoom change or a preview finds them made.
// Labels are put together from their characters' pixels when the font passes a check against
// the painter's own drawing of every pair of characters and of labels of every length; with any
// other font each label is drawn with the painter.

#include <QFont>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "view/LabelGlyphs.h"
#include "view/PixelStamp.h"

class LabelStamps {
public:
    enum class Method {
        characters,   ///< from the characters' pixels (when the font passes the check)
        painter,      ///< each label drawn with the painter
    };
    explicit LabelStamps(const QFont& font, Method wanted = Method::characters);
    LabelStamps(const LabelStamps&) = delete;
    LabelStamps& operator=(const LabelStamps&) = delete;

    /// The labels of the map's font (7-point Arial without smoothing), shared by every renderer.
    static LabelStamps& shared();
    static QFont mapFont();

    const QFont& font() const { return font_; }
    /// The method in use: characters only when asked for and the font passed the check.
    Method method() const { return method_; }

    /// The label's pixels when made already, or made now from its characters; null when it is
    /// to be drawn with the painter first (make). Pointers stay valid as long as this lives.
    const PixelStamp* find(std::int32_t altitude);
    /// Makes the labels not made yet of these altitudes, drawing them all in one picture.
    void make(const std::vector<std::int32_t>& altitudes);
    /// The label as the painter draws it, made afresh (for checks).
    PixelStamp drawn(std::int32_t altitude) const;

private:
    /// The characters' pixels and advances, and whether labels put together from them are what
    /// the painter draws.
    bool learnCharacters();
    /// Each text drawn with the painter, pen at the point on the base line.
    std::vector<PixelStamp> draw(const std::vector<QString>& texts) const;

    QFont font_;
    Method method_;
    LabelGlyphs glyphs_;
    std::mutex mutex_;
    std::unordered_map<std::int32_t, PixelStamp> stamps_;
};
