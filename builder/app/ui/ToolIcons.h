#pragma once
// The images of the tool palette's buttons, drawn at run time so they scale and need no files.

#include <QIcon>
#include <QPixmap>

class ToolIcons {
public:
    /// The icon of the tool palette button with this identifier; a null icon for an unknown one.
    static QIcon forButton(int id);
    /// The splash window's picture.
    static QPixmap splashPicture();
};
