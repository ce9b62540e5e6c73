#pragma once
// Page 1 of the PhotoReal wizard accepts any picture: a valid project bitmap loads as before; any
// other picture goes through the import dialog first, and the converted bitmap beside it is loaded.

#include <optional>

#include "project/GeoRect.h"

class CDibDoc;
class QWidget;

/// Asks for the picture, imports it when needed and loads the project bitmap (bitmapPath and
/// sceneryFolder follow the loaded file). `extents` receives the picture's own extents when it is
/// georeferenced, nothing otherwise. False when cancelled or refused (the reason has been shown).
bool selectPictureSource(CDibDoc& doc, QWidget* parent, std::optional<GeoRect>& extents);
