#pragma once
// The builder's main window: the project windows in a multiple-document area, the tool palette,
// the "Scenery Properties" bar, the cursor-position bar and the status bar with date and time.
// Menu entries and tool buttons are bound to commands by id (CommandRegistry); an entry whose
// command nobody registered shows disabled.

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <memory>
#include <string>

#include "base/ui/FrameServices.h"

class AppContext;
class CDibDoc;
class ProjectWindow;
class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QRadioButton;
class QTimer;
class QToolButton;
class QDockWidget;

class CMainFrame : public QMainWindow, public FrameServices {
    Q_OBJECT
public:
    static constexpr const char* kProductUrl = "https://orvane.example.org/";
    static constexpr int kRecentFileCount = 4;
    /// Where the window's place and its bars' layout are kept between runs.
    static constexpr const char* kGeometryKey = "Main Window/Geometry";
    static constexpr const char* kLayoutKey = "Main Window/Layout";

    explicit CMainFrame(AppContext& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // FrameServices
    AppContext& app() override { return app_; }
    QWidget* window() override { return this; }
    CDibDoc* activeDocument() override;
    QWidget* activeView() override;
    void openDocumentWindow(std::unique_ptr<CDibDoc> doc) override;
    /// New Window: a second window on the active project, with its own zoom, modes and selection.
    void openNewWindow();
    void showSceneryProperties(double widthKm, double heightKm, double metresPerPixel) override;
    void refreshCommands() override;
    void showStatus(const QString& text) override;

    /// Opens a project file in a new window (or activates the window that already shows it).
    /// False when it could not be read (the reader has said why).
    bool openProjectFile(const QString& path);
    /// The "Open Orvane Project" dialog, then openProjectFile.
    void openProjectDialog();
    /// Asks about every modified project; false when the user cancelled.
    bool confirmCloseAll();

    ProjectWindow* activeProjectWindow() const;
    QList<ProjectWindow*> projectWindows() const;
    QMdiArea* mdiArea() const { return mdi_; }

    /// Checks "D:M:S" (1) or "Decimal" (0) without changing the setting.
    void setCoordinateFormatButtons(int coordinateFormat);
    /// The cursor-position read-outs (the map view writes them).
    void setCursorPosition(const QString& longitude, const QString& latitude, const QString& altitude,
                           const QString& y, const QString& x);
    /// The zoom read-out of the tool palette.
    void setZoomText(const QString& text);
    /// Converter buttons: parse the converter's text and show it in d:m:s (dms true) or decimal form.
    void convertCoordinate(bool dms);

    /// The action of a command id (shared by its menu entry and tool button).
    QAction* commandAction(const std::string& id) const;
    /// The recent-file list, newest first.
    QStringList recentFiles() const { return recentFiles_; }
    void addRecentFile(const QString& path);
    void removeRecentFile(const QString& path);

    /// "Orvane version N" with the copyright and the product page, for About.
    static QString aboutText();
    /// The user guide to open from Help: the installed copy (installedGuideFolder), else that
    /// of the source tree the program was built from; empty when neither exists.
    static QString userGuidePath();
    /// <prefix>/share/doc/orvane for a program in <prefix>/bin.
    static QString installedGuideFolder();

    /// The status bar's date and time texts now, as the panes show them.
    static QString dateText();
    static QString timeText();

protected:
    void closeEvent(QCloseEvent* event) override;
    void restoreLayout();
    void saveLayout() const;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* makeAction(const std::string& id);
    void runCommand(const std::string& id);
    void createMenus();
    void createToolPalette();
    void createSceneryProperties();
    void createCursorPositionBar();
    void createStatusBar();
    void updateMenus();
    void updateClock();
    void rebuildRecentMenu(QMenu* menu);
    void rebuildWindowMenu();
    void loadRecentFiles();
    void saveRecentFiles() const;
    void onSubWindowActivated(QMdiSubWindow* window);
    void showProjectWindow(ProjectWindow* window);
    void updateSceneryProperties();
    void updateEditTexts();
    QMenu* wizardsMenu(const QString& title);

    AppContext& app_;
    QMdiArea* mdi_ = nullptr;
    std::map<std::string, QAction*> actions_;
    QList<QMenu*> noProjectMenus_;
    QList<QMenu*> projectMenus_;
    QList<QMenu*> recentMenus_;   ///< the File menus, whose recent entries are rebuilt on opening
    QMenu* windowMenu_ = nullptr;
    bool projectMenusShown_ = false;
    QStringList recentFiles_;

    QDockWidget* toolPalette_ = nullptr;
    QDockWidget* sceneryBar_ = nullptr;
    QDockWidget* cursorBar_ = nullptr;
    QLineEdit* zoomEdit_ = nullptr;
    QLabel* sceneryValues_[3] = {nullptr, nullptr, nullptr};
    QRadioButton* dmsButton_ = nullptr;
    QRadioButton* decimalButton_ = nullptr;
    QLineEdit* longitudeEdit_ = nullptr;
    QLineEdit* latitudeEdit_ = nullptr;
    QLineEdit* altitudeEdit_ = nullptr;
    QLineEdit* yEdit_ = nullptr;
    QLineEdit* xEdit_ = nullptr;
    QLineEdit* converterEdit_ = nullptr;
    QLabel* datePane_ = nullptr;
    QLabel* timePane_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    QTimer* commandTimer_ = nullptr;
};
