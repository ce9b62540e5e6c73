#pragma once

#include <QIcon>

/// The split tool's application icon: one source page cut into two, drawn in code so every
/// size is sharp and no picture file has to be shipped.
class SplitIcon {
public:
  static QIcon icon();
  /// The picture at one size (square, `size` pixels).
  static QPixmap pixmap(int size);
};
