#pragma once
// Memory for the map's tile pictures, taken in blocks of 2 MiB asked for on large pages: the tiles
// of a new window's first paint then fault in a few large pages instead of thousands of small
// ones. A picture's place goes back to the pool when the picture (and every copy sharing it) is
// gone, and the next picture takes it: blocks are only added when every place is in use, so the
// pool holds no more than the most tiles alive at once, rounded up to a block. Blocks left empty
// are kept, a few of them, for the next window.

#include <QImage>

class TilePool {
public:
    static constexpr int kSize = 256;

    /// A kSize x kSize ARGB32 premultiplied picture (contents undefined), in pooled memory or, when
    /// no block can be had, in the usual memory. Null only when no memory is left at all.
    static QImage make();

    /// Blocks held now, in use or kept empty (for tests).
    static int blocks();
};
