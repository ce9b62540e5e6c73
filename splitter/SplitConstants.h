#pragma once

// Fixed texts of the split tool. The builder keeps its own copy of the notice: the two
// programs share no code and meet only in the source files the builder writes.
namespace SplitConstants {

/// The product's copyright notice; a builder source opens with "Copyright( " + notice + " )".
inline constexpr const char* kCopyrightNotice =
    "Orvane Scenery Builder (c) Orvane Developers. All rights reserved.";

/// Caption of the main window and title of the application.
inline constexpr const char* kAppTitle = "OVSplit v1.1";

/// Name of the configuration file, looked for in the folder current at start-up.
inline constexpr const char* kConfigFileName = "OVSPLIT.cfg";

}  // namespace SplitConstants
