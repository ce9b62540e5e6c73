#include "output/TextureOrientation.h"

TextureOrientation TextureOrientation::fromFlipValue(std::int32_t flipValue)
{
    TextureOrientation o;
    if (flipValue < 0 || flipValue > 3)
        return o;
    o.mirrorEastWest = (flipValue & 1) != 0;
    o.mirrorNorthSouth = (flipValue & 2) != 0;
    return o;
}

std::int32_t textureCoordinate(std::int32_t k, std::int32_t n, bool mirrored)
{
    if (n < 1)
        n = 1;
    if (k < 0)
        k = 0;
    const std::int32_t step = 256 / n;
    // Past the last full step the node sits on the texture's far edge (255, not 256).
    std::int32_t value = k >= n ? 255 : k * step;
    if (value > 255)
        value = 255;
    return mirrored ? 255 - value : value;
}

TextureSourceRect textureSourceRect(const TextureOrientation& orientation)
{
    TextureSourceRect r;
    if (orientation.mirrorEastWest) {
        r.left = 255;
        r.right = -1;
    }
    // The image's top is the north edge; y counts rows from the top here.
    if (orientation.mirrorNorthSouth) {
        r.top = 255;
        r.bottom = -1;
    }
    return r;
}
