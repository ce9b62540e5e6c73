#include "wizards/PhotoExtentsModel.h"

#include <cmath>

#include "output/Coordinates.h"

PhotoExtentsModel::PhotoExtentsModel(std::int32_t width, std::int32_t height, int coordinateFormat)
    : width_(width), height_(height), coordinateFormat_(coordinateFormat)
{
}

double PhotoExtentsModel::north() const { return parseCoordinate(maxLatText); }
double PhotoExtentsModel::south() const { return parseCoordinate(minLatText); }
double PhotoExtentsModel::east() const { return parseCoordinate(maxLonText); }
double PhotoExtentsModel::west() const { return parseCoordinate(minLonText); }

PhotoExtentsModel::Values PhotoExtentsModel::read() const
{
    return {north(), south(), east(), west()};
}

double PhotoExtentsModel::kFor(const Values& v)
{
    const double phi = (v.n + v.s) / 2;
    return std::cos(phi * 3.14159265359 / 180) * 40075.0 / 360.0;
}

double PhotoExtentsModel::kmPerDegreeLongitude() const
{
    return kFor(read());
}

// Only the values an event computed are rewritten, so a text the user is typing stays as typed.
void PhotoExtentsModel::store(const Values& before, const Values& after)
{
    if (after.n != before.n)
        maxLatText = formatCoordinate(after.n, coordinateFormat_);
    if (after.s != before.s)
        minLatText = formatCoordinate(after.s, coordinateFormat_);
    if (after.e != before.e)
        maxLonText = formatCoordinate(after.e, coordinateFormat_);
    if (after.w != before.w)
        minLonText = formatCoordinate(after.w, coordinateFormat_);
}

void PhotoExtentsModel::resolutionsFromExtents(const Values& v)
{
    // A page without a bitmap has no pixels to divide by; the resolutions then stay as they are.
    if (width_ > 0)
        horizontal = (v.e - v.w) * kFor(v) * 1000 / width_;
    if (height_ > 0)
        vertical = (v.n - v.s) * kmPerDegreeLatitude * 1000 / height_;
}

// Extents follow a resolution over whole chunks only.
double PhotoExtentsModel::eastFromWest(const Values& v) const
{
    const double k = kFor(v);
    if (k == 0)
        return v.e;
    return v.w + (width_ / 256) * 256 * horizontal / (k * 1000);
}

double PhotoExtentsModel::westFromEast(const Values& v) const
{
    const double k = kFor(v);
    if (k == 0)
        return v.w;
    return v.e - (width_ / 256) * 256 * horizontal / (k * 1000);
}

double PhotoExtentsModel::northFromSouth(const Values& v) const
{
    return v.s + (height_ / 256) * 256 * vertical / metresPerDegreeLatitude;
}

double PhotoExtentsModel::southFromNorth(const Values& v) const
{
    return v.n - (height_ / 256) * 256 * vertical / metresPerDegreeLatitude;
}

void PhotoExtentsModel::longitudesByCorner(Values& v) const
{
    if (corner == NorthWest || corner == SouthWest)
        v.e = eastFromWest(v);
    else
        v.w = westFromEast(v);
}

void PhotoExtentsModel::latitudesByCorner(Values& v) const
{
    if (corner == NorthWest || corner == NorthEast)
        v.s = southFromNorth(v);
    else
        v.n = northFromSouth(v);
}

void PhotoExtentsModel::maxLatChanged()
{
    const Values before = read();
    Values v = before;
    if (verticalLock)
        v.s = southFromNorth(v);
    else
        resolutionsFromExtents(v);
    if (v.e != v.w)
        longitudesByCorner(v);
    store(before, v);
}

void PhotoExtentsModel::minLatChanged()
{
    const Values before = read();
    Values v = before;
    if (verticalLock)
        v.n = northFromSouth(v);
    else
        resolutionsFromExtents(v);
    if (v.e != v.w)
        longitudesByCorner(v);
    store(before, v);
}

void PhotoExtentsModel::maxLonChanged()
{
    const Values before = read();
    Values v = before;
    if (horizontalLock)
        v.w = westFromEast(v);
    else
        resolutionsFromExtents(v);
    store(before, v);
}

void PhotoExtentsModel::minLonChanged()
{
    const Values before = read();
    Values v = before;
    if (horizontalLock)
        v.e = eastFromWest(v);
    else
        resolutionsFromExtents(v);
    store(before, v);
}

void PhotoExtentsModel::horizontalChanged()
{
    const Values before = read();
    Values v = before;
    if (v.e != v.w)
        longitudesByCorner(v);
    store(before, v);
}

void PhotoExtentsModel::verticalChanged()
{
    const Values before = read();
    Values v = before;
    if (v.n != v.s)
        latitudesByCorner(v);
    store(before, v);
}

void PhotoExtentsModel::horizontalLockClicked()
{
    const Values before = read();
    Values v = before;
    if (horizontalLock)
        v.e = eastFromWest(v);
    store(before, v);
}

void PhotoExtentsModel::verticalLockClicked()
{
    const Values before = read();
    Values v = before;
    if (verticalLock) {
        v.n = northFromSouth(v);
        if (v.e != v.w)
            longitudesByCorner(v);
    }
    store(before, v);
}
