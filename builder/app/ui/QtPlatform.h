#pragma once
// The platform layer of the Qt program: message boxes, file and folder dialogs, the colour
// chooser, progress windows, the wait cursor, the desktop browser and the batch console.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "base/Platform.h"

class QtPlatform : public Platform {
public:
    /// `mainWindow` parents the dialogs; it may be set later (the frame is made after the platform).
    explicit QtPlatform(QWidget* mainWindow = nullptr) : mainWindow_(mainWindow) {}
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    QWidget* mainWindow() const { return mainWindow_; }

    MsgAnswer message(const std::string& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok) override;
    std::optional<std::string> openFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> saveFileDialog(const FileDialogOptions& options) override;
    std::optional<std::string> browseForFolder(const std::string& prompt, const std::string& startFolder) override;
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
    std::optional<std::int32_t> adjustAltitude(std::int32_t initial) override;
    std::unique_ptr<ProgressWindow> createProgress(const std::string& caption) override;
    BatchRunResult runBatchFile(const std::string& batchPath, const std::string& workDir) override;
    void setWaitCursor(bool on) override;
    void openUrl(const std::string& url) override;
    void pumpEvents() override;

    /// "Text|*.a;*.b|Text2|*.c||" -> "Text (*.a *.b);;Text2 (*.c)". A text that already shows its
    /// patterns in parentheses is kept as it is.
    static QString convertFilter(const std::string& classicFilter);

    /// The caption of every message box.
    static constexpr const char* kMessageCaption = "Orvane";

private:
    /// The window dialogs belong to: the active modal dialog when there is one, else the main window.
    QWidget* dialogParent() const;
    QPointer<QWidget> mainWindow_;
    int waitCursorDepth_ = 0;
};
