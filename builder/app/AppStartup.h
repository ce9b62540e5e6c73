#pragma once
// Start-up and shut-down of the builder that do not depend on the window system: the application
// folder, TexRelief.cfg, and the texture library scan.

#include <string>

class AppContext;

class AppStartup {
public:
    static constexpr const char* kConfigFileName = "TexRelief.cfg";
    static constexpr const char* kMissingConfigMessage = "Configuration settings not found. Creating new settings.";
    static constexpr const char* kCannotWriteConfigMessage = "Couldn't open config file. Exiting.";

    explicit AppStartup(AppContext& app) : app_(app) {}

    /// Full path of the configuration file in the application folder.
    std::string configPath() const;

    /// Takes the current folder as the application folder and reads the configuration from it.
    /// A missing file says so once and keeps the defaults; a corrupt file returns false and leaves
    /// the settings as they were.
    bool readSettings();

    /// Scans the texture library when the settings ask for it.
    void loadTexturesIfWanted();

    /// Shut-down: writes the configuration, but only when readSettings succeeded, so a run that
    /// failed or never read the file (registration runs) leaves an existing file untouched.
    /// Returns the exit code: 0, or -1 after saying that the file could not be written.
    int writeSettings();

    /// Whether writeSettings will write the file.
    bool settingsReady() const { return settingsReady_; }

private:
    AppContext& app_;
    bool settingsReady_ = false;
};
