#pragma once
// Small owners and helpers both GDAL readers of the import stage use. The GDAL headers stay in
// GdalSupport.cpp: handles are kept as void pointers here.

#include <memory>
#include <string>

class ProgressWindow;

namespace GdalSupport {

/// Registers GDAL's drivers once per process.
void registerDrivers();

/// Registers, once per process, only the drivers a full registration puts first, in its order, up
/// to the one for SRTM .hgt tiles (GeoTIFF and DTED among them). A file one of them opens opens
/// exactly as after registerDrivers(), without the cost of registering the two hundred others;
/// when none does, registerDrivers() and a second try give the full registration's result.
void registerFirstDrivers();

/// Keeps GDAL's messages off the console while alive; the last one explains a failure.
class QuietErrors {
public:
    QuietErrors();
    ~QuietErrors();
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
    /// GDAL's last message, or empty.
    static std::string last();
    /// " " and the last message, or empty: for the end of a sentence.
    static std::string lastAsSuffix();
};

struct DatasetCloser {
    void operator()(void* dataset) const;
};
/// An open GDALDatasetH, closed at the end.
using Dataset = std::unique_ptr<void, DatasetCloser>;

struct SrsDeleter {
    void operator()(void* srs) const;
};
/// An OGRSpatialReferenceH, destroyed at the end.
using Srs = std::unique_ptr<void, SrsDeleter>;

/// Options for GDAL's utility functions, built from words; numbers always with a point.
class Words {
public:
    Words() = default;
    Words(const Words&) = delete;
    Words& operator=(const Words&) = delete;
    ~Words();
    Words& add(const std::string& word);
    Words& add(double value);
    Words& add(int value) { return add(std::to_string(value)); }
    char** list() const { return list_; }

private:
    char** list_ = nullptr;
};

/// The stages of a read on one progress bar (0 to 100), with Cancel; the window may be missing.
class Stages {
public:
    explicit Stages(ProgressWindow* window);
    /// Starts a stage that runs the bar from `from` to `to`.
    void begin(const char* status, int from, int to);
    /// Moves within the current stage; false once the user has cancelled.
    bool at(double fraction);
    bool cancelled() const { return cancelled_; }
    /// A GDAL progress function whose data is a Stages.
    static int progress(double complete, const char* message, void* stages);

private:
    ProgressWindow* window_;
    int from_ = 0, to_ = 100;
    bool cancelled_ = false;
};

} // namespace GdalSupport
