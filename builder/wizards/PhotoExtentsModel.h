#pragma once
// The arithmetic behind the extents page of the PhotoReal wizard: four coordinate texts, the two
// resolutions in metres per pixel, their Locks and the reference corner. Each event first reads
// all fields, then recomputes what the event implies; values it computes are written back as
// coordinate text in the display format, values it did not touch keep the text as typed.

#include <cstdint>
#include <string>

class PhotoExtentsModel {
public:
    /// Reference corner: which latitude and longitude stay when the other two are computed.
    enum Corner { NorthWest = 0, SouthWest = 1, NorthEast = 2, SouthEast = 3 };

    /// `width` x `height`: the bitmap in pixels; `coordinateFormat`: 0 decimal, other D:M:S.
    PhotoExtentsModel(std::int32_t width, std::int32_t height, int coordinateFormat);

    /// A new bitmap (the user went back and chose another) or display format; the fields stay.
    void setBitmapSize(std::int32_t width, std::int32_t height) { width_ = width; height_ = height; }
    void setCoordinateFormat(int coordinateFormat) { coordinateFormat_ = coordinateFormat; }

    // The fields, as the page shows them.
    std::string maxLatText;
    std::string minLatText;
    std::string maxLonText;
    std::string minLonText;
    double horizontal = 0.0;   ///< metres per pixel east-west
    double vertical = 0.0;     ///< metres per pixel north-south
    bool horizontalLock = false;
    bool verticalLock = false;
    int corner = SouthWest;

    // Events of the page; the caller has stored the new field values first.
    void maxLatChanged();
    void minLatChanged();
    void maxLonChanged();
    void minLonChanged();
    void horizontalChanged();
    void verticalChanged();
    void horizontalLockClicked();
    void verticalLockClicked();

    /// The parsed extents (N, S, E, W).
    double north() const;
    double south() const;
    double east() const;
    double west() const;

    /// Kilometres per degree of longitude at the mean latitude of the current texts.
    double kmPerDegreeLongitude() const;

    static constexpr double kmPerDegreeLatitude = 111.13055555555556;
    static constexpr double metresPerDegreeLatitude = 111130.55555555556;

private:
    struct Values { double n, s, e, w; };
    Values read() const;
    void store(const Values& before, const Values& after);
    static double kFor(const Values& v);

    void resolutionsFromExtents(const Values& v);
    void longitudesByCorner(Values& v) const;
    void latitudesByCorner(Values& v) const;
    double eastFromWest(const Values& v) const;
    double westFromEast(const Values& v) const;
    double northFromSouth(const Values& v) const;
    double southFromNorth(const Values& v) const;

    std::int32_t width_;
    std::int32_t height_;
    int coordinateFormat_;
};
