#include "cli/CliProgress.h"

#include <algorithm>
#include <ostream>

#include "base/TextFormat.h"

CliProgress::CliProgress(std::ostream& err, std::string caption, bool draw)
    : err_(err), caption_(std::move(caption)), draw_(draw)
{
    redraw();
}

CliProgress::~CliProgress()
{
    if (drawn_)
        err_ << "\n" << std::flush;
}

std::string CliProgress::barLine(int width) const
{
    // Clamped here: positions past either end of the range (capped step counts) show a full or empty bar.
    const long long span = static_cast<long long>(upper()) - lower();
    double fraction = span > 0 ? static_cast<double>(static_cast<long long>(pos()) - lower()) / span : 0.0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * width);
    std::string label = caption_;
    if (!status().empty())
        label += label.empty() ? status() : " " + status();
    return label + " [" + std::string(filled, '#') + std::string(width - filled, ' ') + "] " +
           TextFormat::cformat("%3d%%", static_cast<int>(fraction * 100));
}

void CliProgress::redraw()
{
    if (!draw_)
        return;
    const std::string line = barLine();
    if (line == lastLine_)
        return;
    lastLine_ = line;
    // Carriage return and erase-line keep the bar on one terminal line.
    err_ << "\r\x1b[K" << line << std::flush;
    drawn_ = true;
}
