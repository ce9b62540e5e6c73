#include "view/ScaleBar.h"

#include <cmath>
#include <cstdio>

std::optional<ScaleBarLayout> scaleBarLayout(double metresPerPixel, int y)
{
    if (!(metresPerPixel > 0) || !std::isfinite(metresPerPixel))
        return std::nullopt;
    ScaleBarLayout bar;
    bar.lengthMetres = metresPerPixel > 15 ? 10000.0 : 1000.0;
    const double end = bar.lengthMetres / metresPerPixel + 30;
    // Tiny scales would make a bar wider than any window; there is nothing sensible to draw then.
    if (!(end < 1000000))
        return std::nullopt;
    const int x0 = 30;
    const int x1 = static_cast<int>(end);
    bar.box = {x0 - 30, y - 30, x0 - 30 + (x1 - x0 + 60), y - 30 + 40};
    bar.barFrom = {x0, y};
    bar.barTo = {x1, y};
    for (int k = 0; k <= 10; ++k) {
        const int x = x0 + k * (x1 - x0) / 10;
        const int h = (k == 0 || k == 5 || k == 10) ? 8 : 4;
        bar.ticks.push_back({{x, y}, {x, y - h}});
    }
    bar.zeroTextAt = {x0, y - 30};
    bar.lengthTextAt = {x1, y - 30};
    char text[48];
    std::snprintf(text, sizeof text, "%6.0f m", bar.lengthMetres);
    bar.lengthText = text;
    return bar;
}
