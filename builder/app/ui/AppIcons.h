#pragma once
// The program's own icons, drawn here so that no picture file is needed: the application (a
// sunlit ridge over a photo grid) and the project document (the same on a page with a folded
// corner).

#include <QIcon>
#include <QPixmap>

class AppIcons {
public:
    static QPixmap applicationPixmap(int size);
    static QPixmap documentPixmap(int size);
    /// Both in the usual sizes from 16 to 256 pixels.
    static QIcon application();
    static QIcon document();
};
