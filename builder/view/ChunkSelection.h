#pragma once
// The chunks a view has selected, in the order selected, and the rules of a click: a plain click
// selects the chunk alone, Shift+click adds it or, when it is selected already, removes it.
// Every selected chunk also carries its `selected` flag, which the project's views share.

#include <cstdint>
#include <optional>
#include <vector>

#include "project/GeoRect.h"
#include "view/MapTransform.h"

struct TexReliefChunk;

/// The index of the chunk that holds the map position, when the position lies on the grid and
/// the chunk list has that chunk; nothing otherwise (also without a boundary).
std::optional<std::uint32_t> chunkIndexAt(double latitude, double longitude, const GeoRect& boundary,
                                          std::int32_t chunkColumns, std::int32_t chunkRows, std::size_t chunkCount);

/// One straight piece of the selection outline, in view coordinates.
struct OutlineEdge {
    ViewPoint from;
    ViewPoint to;
    bool operator==(const OutlineEdge&) const = default;
};

class ChunkSelection {
public:
    const std::vector<std::uint32_t>& indices() const { return indices_; }
    bool empty() const { return indices_.empty(); }

    /// A click on chunk `index`: without Shift the selection is cleared first. Returns the chunks
    /// whose flag changed or that need repainting (each once).
    std::vector<std::uint32_t> click(std::vector<TexReliefChunk>& chunks, std::uint32_t index, bool shift);
    /// Clears every flag this selection set; returns the chunks that were selected.
    std::vector<std::uint32_t> clear(std::vector<TexReliefChunk>& chunks);

    /// The outline around the selected chunks, each edge moved `10 × zoom` inwards; an edge is drawn
    /// only where the chunk across it is off the grid or not selected, so a block shows one outline.
    /// Where the outline turns around a selected neighbour the pieces meet instead of leaving a notch.
    std::vector<OutlineEdge> outline(const std::vector<TexReliefChunk>& chunks, const MapTransform& transform) const;

private:
    std::vector<std::uint32_t> indices_;
};
