#pragma once
// The project-wide options the Project Properties sheet edits, recorded as one undoable edit.

#include <cstdint>
#include <functional>
#include <string>

class CDibDoc;

/// The map colours and the source options of a project.
struct ProjectOptions {
    std::uint32_t textColor = 0;
    std::uint32_t gridColor = 0;
    std::uint32_t scaleColor = 0;
    bool writeAltitudeCoordinates = true;
    bool writeAreaMaxHeader = true;
    std::int32_t areaMaxSizeKB = 0;
    bool writeCopyright = true;
    std::string copyrightText;
    std::int32_t includedSeasons = 0;
    bool operator==(const ProjectOptions&) const = default;
};

ProjectOptions projectOptionsOf(const CDibDoc& doc);

/// Runs `edit` (which changes the options in place and returns false to refuse, changing
/// nothing) and records the change as "Project Properties" when the options differ afterwards.
/// Returns what `edit` returned.
bool editProjectOptions(CDibDoc& doc, const std::function<bool()>& edit);
