#pragma once
// How far apart the TexRelief nodes of a project's chunks lie on the ground: elevation posts
// finer than that add records no chunk ever samples.

class CDibDoc;

/// The smallest distance in metres between neighbouring nodes of any chunk (east-west at the
/// chunk's middle latitude, or north-south), from its area and grid density; 0 when the
/// project has no chunk with an area and a density of at least 1.
double finestNodeSpacingMetres(const CDibDoc& doc);
