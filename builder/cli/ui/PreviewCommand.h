#pragma once
// `orvane-cli preview`: a PNG of a project's map, painted by the map window's own renderer on an
// offscreen image, so no display is needed.

/// Adds the preview subcommand to orvane-cli.
void addPreviewCommand();

/// The largest picture the command makes, in pixels.
constexpr long long kPreviewMaxPixels = 16384LL * 16384LL;
