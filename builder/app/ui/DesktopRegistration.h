#pragma once
// Registration of the program and its .prj project type with the desktop of the current user:
// a desktop entry under applications/ and a MIME type under mime/packages/ of the user's data
// folder (~/.local/share by default).

#include <QString>

class DesktopRegistration {
public:
    static constexpr const char* kMimeType = "application/x-orvane-project";
    static constexpr const char* kDesktopFileName = "orvane.desktop";
    static constexpr const char* kMimeFileName = "orvane-project.xml";

    /// Writes both files for `executable` and refreshes the desktop databases when their tools
    /// are installed. False when a file could not be written.
    static bool install(const QString& executable);
    /// Removes both files (missing files are fine) and refreshes the databases.
    static bool uninstall();

    /// The user's data folder the files go under.
    static QString dataFolder();
    /// The Exec= value for `executable`, quoted as desktop entries require.
    static QString execLine(const QString& executable);
};
