#pragma once

/// The product's fixed copyright notice (at most 80 characters). The split tool carries the
/// identical text and expects a generated source to open with "Copyright( " + notice + " )".
inline constexpr const char* kCopyrightNotice =
    "Orvane Scenery Builder (c) Orvane Developers. All rights reserved.";
