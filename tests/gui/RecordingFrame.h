#pragma once
// A main window stand-in for the commands under test: an active project of the test's choosing,
// a hidden parent window for dialogs, and a record of what the commands asked of the frame.

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "base/ui/FrameServices.h"
#include "project/CDibDoc.h"

class RecordingFrame : public FrameServices {
public:
    explicit RecordingFrame(AppContext& app, CDibDoc* active = nullptr) : doc(active), app_(app) {}

    AppContext& app() override { return app_; }
    QWidget* window() override { return &window_; }
    CDibDoc* activeDocument() override { return doc; }
    QWidget* activeView() override { return nullptr; }
    void openDocumentWindow(std::unique_ptr<CDibDoc> project) override { opened = std::move(project); }
    void showSceneryProperties(double widthKm, double heightKm, double metresPerPixel) override
    {
        shown = {widthKm, heightKm, metresPerPixel};
        ++sceneryShown;
    }
    void refreshCommands() override { ++refreshes; }
    void showStatus(const QString& text) override { statusTexts.push_back(text.toStdString()); }

    CDibDoc* doc = nullptr;                ///< the active project
    std::unique_ptr<CDibDoc> opened;       ///< the last project handed over for a window
    std::array<double, 3> shown{};         ///< the last Scenery Properties values
    int sceneryShown = 0;
    int refreshes = 0;
    std::vector<std::string> statusTexts;  ///< what the commands said in the status bar, in order

private:
    AppContext& app_;
    QWidget window_;
};
