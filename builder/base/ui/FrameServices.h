#pragma once
// What the main window offers to the commands of the dialogs and pages.

#include <memory>

class AppContext;
class CDibDoc;
class QString;
class QWidget;

class FrameServices {
public:
    virtual ~FrameServices() = default;
    virtual AppContext& app() = 0;
    /// The main window (parent of dialogs).
    virtual QWidget* window() = 0;
    /// The project of the active project window, or nullptr.
    virtual CDibDoc* activeDocument() = 0;
    /// The view widget of the active project window, or nullptr.
    virtual QWidget* activeView() = 0;
    /// Opens a window for a new project (made by a wizard) and takes ownership of it.
    virtual void openDocumentWindow(std::unique_ptr<CDibDoc> doc) = 0;
    /// Writes the three values of the "Scenery Properties" bar ("%4.2f" each).
    virtual void showSceneryProperties(double widthKm, double heightKm, double metresPerPixel) = 0;
    /// Re-evaluates every command's enabled / checked state.
    virtual void refreshCommands() = 0;
    /// Says in the status bar what an operation made; an empty text puts "Ready" back.
    virtual void showStatus(const QString& text) { (void)text; }
};
