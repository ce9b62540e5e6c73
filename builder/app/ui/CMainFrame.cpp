#include "app/ui/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "base/TextFormat.h"
#include "base/ui/CommandRegistry.h"
#include "app/ui/AppIcons.h"
#include "app/ui/ProjectWindow.h"
#include "app/ui/ToolIcons.h"
#include "output/Coordinates.h"
#include "project/CDibDoc.h"
#include "project/CopyrightNotice.h"
#include "project/ProjectFile.h"
#include "project/SceneryDimensions.h"
#include "view/ui/CDibView.h"

namespace {

// What a command looks like in the frame when the file implementing it gives no text of its own,
// the tool palette button that sends it (0: none) and its tooltip.
struct CommandLook {
    const char* text;
    const char* shortcut;
    int button;
    const char* toolTip;
    bool projectCommand;  ///< acts on the active project: disabled while there is none
    bool checkable;
};

const std::map<std::string, CommandLook>& commandLooks()
{
    static const std::map<std::string, CommandLook> looks = {
        {"file.open", {"&Open Project...", "Ctrl+O", 0, "", false, false}},
        {"file.close", {"&Close", "Ctrl+W", 0, "", true, false}},
        {"file.save", {"&Save", "Ctrl+S", 0, "", true, false}},
        {"file.saveAs", {"Save &As...", "", 0, "", true, false}},
        {"edit.undo", {"&Undo", "Ctrl+Z", 0, "", true, false}},
        {"edit.redo", {"&Redo", "Ctrl+Shift+Z", 0, "", true, false}},
        {"wizard.photo", {"&PhotoWizard...", "", 0, "", false, false}},
        {"wizard.synth", {"&SynthWizard...", "", 0, "", false, false}},
        {"app.preferences", {"&Preferences...", "Ctrl+P", 32838, "Preferences", false, false}},
        {"app.exit", {"E&xit", "Ctrl+Q", 0, "", false, false}},
        {"textures.cutAll", {"Cut &all level images...", "", 0, "", true, false}},
        {"textures.cut1", {"Cut level &1...", "", 0, "", true, false}},
        {"textures.cut2", {"Cut level &2...", "", 0, "", true, false}},
        {"textures.cut3", {"Cut level &3...", "", 0, "", true, false}},
        {"source.scasm", {"&SCASM", "", 32781, "Write SCASM Source Code", true, false}},
        {"source.compile", {"&Compile to BGL", "", 32784, "Compile to BGL", true, false}},
        {"palette.define", {"&Define...", "", 0, "", true, false}},
        {"palette.save", {"&Save...", "", 0, "", true, false}},
        {"project.boundary", {"Define &Boundary Area...", "", 32777, "Define Boundary Area", true, false}},
        {"project.altitudeSources",
         {"Select Altitude &Data Source...", "", 32773, "Select Altitude Data Source", true, false}},
        {"view.gridLines", {"&Grid Lines", "", 32787, "Enable / Disable 256-pixel grid", true, true}},
        {"view.gridNodes", {"&Grid Nodes", "", 32788, "Enable / Disable Texture Altitude Nodes", true, true}},
        {"view.altitudeNodes",
         {"&Altitude Nodes", "", 32789, "Enable / Disable Terrain Data Point Nodes", true, true}},
        {"view.altitudeLabels",
         {"&Altitude Labels", "", 32801, "Enable / Disable Terrain Data Point Altitude Labels", true, true}},
        {"view.defaultCursor", {"Set &Default Cursor", "", 32836, "Set Default Cursor", true, true}},
        {"view.crosshair", {"Set &CrossHair Cursor", "", 32837, "Set CrossHair Cursor", true, true}},
        {"view.moveTexture", {"Dynamically &Move the Texture", "", 32826, "Dynamically Move the Texture", true, true}},
        {"view.zoomTool", {"&Zoom Tool", "", 32832, "Zoom", true, true}},
        {"view.gridProperties", {"Grid &Properties...", "", 32835, "Grid Properties", true, false}},
        {"view.projectProperties", {"Project &Properties...", "", 301, "Project Properties", true, false}},
        {"coord.dms", {"D:M:S", "", 0, "", false, true}},
        {"coord.decimal", {"Decimal", "", 0, "", false, true}},
        {"help.guide", {"&User Guide", "F1", 0, "", false, false}},
        {"help.online", {"&Online Help....", "", 0, "", false, false}},
        {"help.contact", {"&Contact Orvane....", "", 0, "", false, false}},
        {"help.about", {"&About Orvane...", "", 57664, "About Orvane", false, false}},
    };
    return looks;
}

// The tool palette buttons that act on the active project's view: disabled and unchecked while
// no project window is active.
bool isProjectButton(int id)
{
    switch (id) {
    case 32836: case 32837: case 32826: case 32832: case 32787: case 32788:
    case 32789: case 32801: case 32781: case 32784: case 301: case 32835:
        return true;
    default:
        return false;
    }
}

QString fromLocal(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CMainFrame::CMainFrame(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app)
{
    setObjectName("mainFrame");
    setWindowTitle("Orvane");
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks);

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("mdiArea");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);

    for (const auto& [id, look] : commandLooks())
        makeAction(id);

    loadRecentFiles();
    createSceneryProperties();
    createStatusBar();
    createCursorPositionBar();
    createToolPalette();
    createMenus();
    updateMenus();

    // Update handlers: re-evaluated on a short timer as well as on menu opening and activation.
    commandTimer_ = new QTimer(this);
    commandTimer_->setInterval(250);
    connect(commandTimer_, &QTimer::timeout, this, &CMainFrame::refreshCommands);
    commandTimer_->start();

    setCoordinateFormatButtons(app_.settings.coordinateFormat);
    refreshCommands();
    // A first start on a small or scaled screen opens inside it.
    QSize size(1100, 760);
    if (const QScreen* shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() * 0.9);
    resize(size);
    restoreLayout();
}

void CMainFrame::restoreLayout()
{
    setWindowIcon(AppIcons::application());
    QApplication::setWindowIcon(AppIcons::application());
    QSettings settings("Orvane", "Orvane");
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    restoreState(settings.value(kLayoutKey).toByteArray());
}

void CMainFrame::saveLayout() const
{
    QSettings settings("Orvane", "Orvane");
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kLayoutKey, saveState());
}

CMainFrame::~CMainFrame()
{
    // Project windows own their projects; close them before the application context goes.
    for (ProjectWindow* w : projectWindows()) {
        w->setCloseConfirmed(true);
        delete w;
    }
}

// ---------------------------------------------------------------- commands

QAction* CMainFrame::makeAction(const std::string& id)
{
    auto* action = new QAction(this);
    action->setObjectName(QString::fromStdString("action_" + id));
    const auto look = commandLooks().find(id);
    const CommandSpec* command = CommandRegistry::instance().find(id);
    QString text = look != commandLooks().end() ? QString(look->second.text) : QString::fromStdString(id);
    QKeySequence shortcut = look != commandLooks().end() ? QKeySequence(look->second.shortcut) : QKeySequence();
    if (command && !command->text.isEmpty())
        text = command->text;
    if (command && !command->shortcut.isEmpty())
        shortcut = command->shortcut;
    action->setText(text);
    action->setShortcut(shortcut);
    if (command)
        action->setStatusTip(command->statusTip);
    if (look != commandLooks().end()) {
        if (look->second.toolTip[0])
            action->setToolTip(look->second.toolTip);
        if (look->second.button)
            action->setIcon(ToolIcons::forButton(look->second.button));
        action->setCheckable(look->second.checkable || (command && command->checked));
    }
    action->setIconVisibleInMenu(false);
    // Shortcuts work whichever menu set is shown.
    addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_[id] = action;
    return action;
}

QAction* CMainFrame::commandAction(const std::string& id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::runCommand(const std::string& id)
{
    // The enabled rule is asked again: the state shown may be a moment old.
    refreshCommands();
    QAction* action = commandAction(id);
    const CommandSpec* command = CommandRegistry::instance().find(id);
    if (command && command->run && action && action->isEnabled())
        command->run(*this);
    refreshCommands();
}

void CMainFrame::updateEditTexts()
{
    const CDibDoc* doc = activeDocument();
    const std::string undo = doc ? doc->undoStack.undoText() : std::string();
    const std::string redo = doc ? doc->undoStack.redoText() : std::string();
    const QString undoText = undo.empty() ? QString("&Undo") : "&Undo " + QString::fromStdString(undo);
    const QString redoText = redo.empty() ? QString("&Redo") : "&Redo " + QString::fromStdString(redo);
    if (commandAction("edit.undo")->text() != undoText)
        commandAction("edit.undo")->setText(undoText);
    if (commandAction("edit.redo")->text() != redoText)
        commandAction("edit.redo")->setText(redoText);
}

void CMainFrame::refreshCommands()
{
    const bool haveProject = activeDocument() != nullptr;
    for (const auto& [id, action] : actions_) {
        const CommandSpec* command = CommandRegistry::instance().find(id);
        const auto look = commandLooks().find(id);
        const bool projectCommand = look != commandLooks().end() && look->second.projectCommand;
        const int button = look != commandLooks().end() ? look->second.button : 0;
        // A project command's rules may rely on an active project: they are not asked without one.
        const bool applicable = command && (haveProject || !projectCommand);
        bool enabled = applicable && command->run && (!command->enabled || command->enabled(*this));
        if (isProjectButton(button) && !haveProject)
            enabled = false;
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
        if (action->isCheckable()) {
            const bool checked = applicable && command->checked && command->checked(*this);
            if (action->isChecked() != checked)
                action->setChecked(checked);
        }
    }
    setCoordinateFormatButtons(app_.settings.coordinateFormat);
    updateEditTexts();
}

// ---------------------------------------------------------------- bars

void CMainFrame::createToolPalette()
{
    toolPalette_ = new QDockWidget("Tools", this);
    toolPalette_->setObjectName("toolPalette");
    toolPalette_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    toolPalette_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    toolPalette_->toggleViewAction()->setText("&Tool Palette");
    toolPalette_->toggleViewAction()->setStatusTip("Show or hide ViewSelectDlgBar");
    toolPalette_->toggleViewAction()->setToolTip("Toggle ViewSelectDlgBar");

    auto* body = new QWidget(toolPalette_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);

    auto addGroup = [&](const std::vector<std::string>& ids) {
        auto* grid = new QGridLayout;
        grid->setSpacing(2);
        int i = 0;
        for (const std::string& id : ids) {
            QAction* action = commandAction(id);
            auto* button = new QToolButton(body);
            button->setDefaultAction(action);
            button->setObjectName(QString("tool_%1").arg(commandLooks().at(id).button));
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button->setIconSize(QSize(24, 24));
            button->setAutoRaise(false);
            grid->addWidget(button, i / 2, i % 2);
            ++i;
        }
        layout->addLayout(grid);
    };
    // Push-like radio group (the view's mode) and check group (the view's overlays).
    addGroup({"view.defaultCursor", "view.crosshair", "view.moveTexture", "view.zoomTool"});
    addGroup({"view.gridLines", "view.gridNodes", "view.altitudeNodes", "view.altitudeLabels"});

    zoomEdit_ = new QLineEdit(body);
    zoomEdit_->setObjectName("edit_367");
    zoomEdit_->setReadOnly(true);
    zoomEdit_->setToolTip("Zoom");
    zoomEdit_->setAlignment(Qt::AlignCenter);
    zoomEdit_->setMaximumWidth(60);
    layout->addWidget(zoomEdit_, 0, Qt::AlignHCenter);

    addGroup({"view.projectProperties", "view.gridProperties", "help.about", "app.preferences"});
    addGroup({"source.scasm", "source.compile", "project.boundary", "project.altitudeSources"});
    layout->addStretch(1);

    toolPalette_->setWidget(body);
    addDockWidget(Qt::LeftDockWidgetArea, toolPalette_);
}

void CMainFrame::createSceneryProperties()
{
    sceneryBar_ = new QDockWidget("Scenery Properties", this);
    sceneryBar_->setObjectName("sceneryPropertiesBar");
    sceneryBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    sceneryBar_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    sceneryBar_->toggleViewAction()->setText("&Control Bar");

    auto* body = new QWidget(sceneryBar_);
    auto* outer = new QVBoxLayout(body);
    auto* group = new QGroupBox("Scenery Properties", body);
    auto* form = new QFormLayout(group);
    const char* labels[3] = {"Width (km):", "Height (km):", "Scale (m/pix):"};
    const int ids[3] = {250, 251, 252};
    for (int i = 0; i < 3; ++i) {
        sceneryValues_[i] = new QLabel(group);
        sceneryValues_[i]->setObjectName(QString("value_%1").arg(ids[i]));
        sceneryValues_[i]->setMinimumWidth(70);
        sceneryValues_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(labels[i], sceneryValues_[i]);
    }
    outer->addWidget(group);
    outer->addStretch(1);
    sceneryBar_->setWidget(body);
    addDockWidget(Qt::RightDockWidgetArea, sceneryBar_);
}

void CMainFrame::createCursorPositionBar()
{
    cursorBar_ = new QDockWidget("Cursor Position", this);
    cursorBar_->setObjectName("cursorPositionBar");
    cursorBar_->setAllowedAreas(Qt::BottomDockWidgetArea);
    cursorBar_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    // No title bar. A bare widget would report a height of -1, which the dock adds to its own
    // and so cuts a pixel off the read-outs; an empty layout reports 0.
    auto* noTitle = new QWidget(cursorBar_);
    auto* noTitleLayout = new QHBoxLayout(noTitle);
    noTitleLayout->setContentsMargins(0, 0, 0, 0);
    cursorBar_->setTitleBarWidget(noTitle);

    auto* body = new QWidget(cursorBar_);
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(4, 2, 4, 2);

    auto* position = new QGroupBox("Cursor Position", body);
    auto* grid = new QGridLayout(position);
    grid->setVerticalSpacing(2);
    dmsButton_ = new QRadioButton("D:M:S", position);
    dmsButton_->setObjectName("radio_242");
    decimalButton_ = new QRadioButton("Decimal", position);
    decimalButton_->setObjectName("radio_243");
    connect(dmsButton_, &QRadioButton::clicked, this, [this] { runCommand("coord.dms"); });
    connect(decimalButton_, &QRadioButton::clicked, this, [this] { runCommand("coord.decimal"); });
    grid->addWidget(dmsButton_, 0, 0);
    grid->addWidget(decimalButton_, 1, 0);

    auto readOut = [&](const char* label, int id, int column, int rowIndex, int width) {
        auto* edit = new QLineEdit(position);
        edit->setObjectName(QString("edit_%1").arg(id));
        edit->setReadOnly(true);
        edit->setMinimumWidth(width);
        grid->addWidget(new QLabel(label, position), rowIndex, column, Qt::AlignRight);
        grid->addWidget(edit, rowIndex, column + 1);
        return edit;
    };
    longitudeEdit_ = readOut("Longitude (E-W)", 228, 1, 0, 110);
    latitudeEdit_ = readOut("Latitude (N-S)", 229, 1, 1, 110);
    altitudeEdit_ = readOut("Altitude", 117, 3, 0, 70);
    yEdit_ = readOut("Y:", 118, 5, 0, 50);
    xEdit_ = readOut("X:", 119, 5, 1, 50);
    row->addWidget(position);

    auto* converter = new QGroupBox("Coordinate converter", body);
    auto* conv = new QGridLayout(converter);
    conv->setVerticalSpacing(2);
    converterEdit_ = new QLineEdit(converter);
    converterEdit_->setObjectName("edit_246");
    converterEdit_->setMinimumWidth(120);
    auto* toDms = new QPushButton("Show in DMS", converter);
    toDms->setObjectName("button_244");
    auto* toDecimal = new QPushButton("Show in Decimal", converter);
    toDecimal->setObjectName("button_245");
    connect(toDms, &QPushButton::clicked, this, [this] { convertCoordinate(true); });
    connect(toDecimal, &QPushButton::clicked, this, [this] { convertCoordinate(false); });
    conv->addWidget(converterEdit_, 0, 0, 1, 2);
    conv->addWidget(toDms, 1, 0);
    conv->addWidget(toDecimal, 1, 1);
    row->addWidget(converter);
    row->addStretch(1);

    cursorBar_->setWidget(body);
    addDockWidget(Qt::BottomDockWidgetArea, cursorBar_);
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    // "Ready" is the bar's resting text: it shows whenever no hint or result covers it.
    auto* ready = new QLabel("Ready", bar);
    ready->setObjectName("paneReady");
    bar->addWidget(ready, 1);
    // Caps, num and scroll lock indicators are left out: Qt cannot read those states portably.
    datePane_ = new QLabel(bar);
    datePane_->setObjectName("paneDate");
    datePane_->setToolTip("Date");
    datePane_->setFrameShape(QFrame::Panel);
    datePane_->setFrameShadow(QFrame::Sunken);
    timePane_ = new QLabel(bar);
    timePane_->setObjectName("paneTime");
    timePane_->setToolTip("Time");
    timePane_->setFrameShape(QFrame::Panel);
    timePane_->setFrameShadow(QFrame::Sunken);
    bar->addPermanentWidget(datePane_);
    bar->addPermanentWidget(timePane_);
    updateClock();
    clockTimer_ = new QTimer(this);
    clockTimer_->setInterval(1000);
    connect(clockTimer_, &QTimer::timeout, this, &CMainFrame::updateClock);
    clockTimer_->start();
}

QString CMainFrame::aboutText()
{
    return QString("Orvane version %1\n\n%2\n\n%3").arg(ORVANE_VERSION, kCopyrightNotice, kProductUrl);
}

QString CMainFrame::installedGuideFolder()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../share/doc/orvane");
}

QString CMainFrame::userGuidePath()
{
    // The installed copy first; a program run from its build folder reads the source tree's.
    for (const QString& folder : {installedGuideFolder(), QDir(ORVANE_SOURCE_DIR).filePath("docs")}) {
        const QFileInfo guide(QDir(folder).filePath("user-guide.md"));
        if (guide.isFile())
            return QDir::cleanPath(guide.absoluteFilePath());
    }
    return {};
}

QString CMainFrame::dateText()
{
    return fromLocal(TextFormat::localTime("%A, %B %d, %y ", false));
}

QString CMainFrame::timeText()
{
    return fromLocal(TextFormat::localTime("%X %p", false));
}

void CMainFrame::updateClock()
{
    // QLabel widens itself to its text in the status bar's font.
    const QString date = dateText();
    const QString time = timeText();
    if (datePane_->text() != date)
        datePane_->setText(date);
    if (timePane_->text() != time)
        timePane_->setText(time);
}

void CMainFrame::setCoordinateFormatButtons(int coordinateFormat)
{
    QRadioButton* wanted = coordinateFormat != 0 ? dmsButton_ : decimalButton_;
    if (!wanted->isChecked())
        wanted->setChecked(true);
}

void CMainFrame::setCursorPosition(const QString& longitude, const QString& latitude, const QString& altitude,
                                   const QString& y, const QString& x)
{
    longitudeEdit_->setText(longitude);
    latitudeEdit_->setText(latitude);
    altitudeEdit_->setText(altitude);
    yEdit_->setText(y);
    xEdit_->setText(x);
}

void CMainFrame::setZoomText(const QString& text)
{
    zoomEdit_->setText(text);
}

void CMainFrame::convertCoordinate(bool dms)
{
    const std::string text = converterEdit_->text().toLocal8Bit().toStdString();
    if (text.empty())
        return;
    converterEdit_->setText(fromLocal(formatCoordinate(parseCoordinate(text), dms ? 1 : 0)));
}

void CMainFrame::showStatus(const QString& text)
{
    if (text.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(text);
}

void CMainFrame::showSceneryProperties(double widthKm, double heightKm, double metresPerPixel)
{
    const double values[3] = {widthKm, heightKm, metresPerPixel};
    for (int i = 0; i < 3; ++i)
        sceneryValues_[i]->setText(fromLocal(TextFormat::localFormat("%4.2f", values[i])));
}

// ---------------------------------------------------------------- menus

QMenu* CMainFrame::wizardsMenu(const QString& title)
{
    auto* menu = new QMenu(title, this);
    menu->addAction(commandAction("wizard.photo"));
    menu->addAction(commandAction("wizard.synth"));
    connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
    return menu;
}

void CMainFrame::createMenus()
{
    auto watch = [this](QMenu* menu) {
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::refreshCommands);
        // The hint of the last highlighted entry must not outlive the menu.
        connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
        return menu;
    };
    auto viewMenu = [&](bool withProject) {
        auto* view = watch(new QMenu("&View", this));
        if (withProject) {
            for (const char* id : {"view.gridLines", "view.gridNodes", "view.altitudeNodes", "view.altitudeLabels"})
                view->addAction(commandAction(id));
            view->addSeparator();
            for (const char* id : {"view.defaultCursor", "view.crosshair", "view.moveTexture", "view.zoomTool"})
                view->addAction(commandAction(id));
            view->addSeparator();
        }
        QAction* statusToggle = view->addAction("&Status Bar");
        statusToggle->setCheckable(true);
        statusToggle->setChecked(true);
        connect(statusToggle, &QAction::toggled, statusBar(), &QWidget::setVisible);
        view->addAction(toolPalette_->toggleViewAction());
        view->addAction(sceneryBar_->toggleViewAction());
        return view;
    };
    auto fileMenu = [&](bool withProject) {
        auto* file = watch(new QMenu("&File", this));
        // A new project is made by one of the wizards: File > New offers them where users look.
        QMenu* newMenu = wizardsMenu("&New");
        newMenu->setObjectName("newMenu");
        file->addMenu(newMenu);
        file->addAction(commandAction("file.open"));
        if (withProject) {
            file->addAction(commandAction("file.close"));
            file->addAction(commandAction("file.save"));
            file->addAction(commandAction("file.saveAs"));
        }
        file->addSeparator();
        file->addMenu(wizardsMenu("Wi&zards..."));
        file->addSeparator();
        file->addAction(commandAction("app.preferences"));
        file->addSeparator();
        // Recent files go between the two separators below; rebuilt each time the menu opens.
        QAction* recentStart = file->addSeparator();
        recentStart->setObjectName("recentStart");
        QAction* recentEnd = file->addSeparator();
        recentEnd->setObjectName("recentEnd");
        file->addAction(commandAction("app.exit"));
        connect(file, &QMenu::aboutToShow, this, [this, file] { rebuildRecentMenu(file); });
        recentMenus_ << file;
        rebuildRecentMenu(file);
        return file;
    };
    auto helpMenu = [&](bool withProject) {
        auto* help = watch(new QMenu("&Help", this));
        help->addAction(commandAction("help.guide"));
        help->addAction(commandAction("help.online"));
        if (withProject)
            help->addAction(commandAction("help.contact"));
        help->addSeparator();
        help->addAction(commandAction("help.about"));
        return help;
    };

    noProjectMenus_ << fileMenu(false) << viewMenu(false) << helpMenu(false);

    // Undo and Redo name the edit they act on; the names are read when the menu opens.
    auto* editMenu = watch(new QMenu("&Edit", this));
    editMenu->addAction(commandAction("edit.undo"));
    editMenu->addAction(commandAction("edit.redo"));
    connect(editMenu, &QMenu::aboutToShow, this, &CMainFrame::updateEditTexts);

    auto* project = watch(new QMenu("&Project", this));
    project->addAction(commandAction("project.boundary"));
    project->addAction(commandAction("project.altitudeSources"));
    project->addAction(commandAction("view.projectProperties"));
    auto* palette = watch(project->addMenu("Pa&lette"));
    palette->addAction(commandAction("palette.define"));
    palette->addAction(commandAction("palette.save"));

    auto* textures = watch(new QMenu("Prepare &Textures...", this));
    for (const char* id : {"textures.cutAll", "textures.cut1", "textures.cut2", "textures.cut3"})
        textures->addAction(commandAction(id));

    auto* source = watch(new QMenu("W&rite Source Code...", this));
    source->addAction(commandAction("source.scasm"));
    source->addAction(commandAction("source.compile"));

    windowMenu_ = watch(new QMenu("&Window", this));
    connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::rebuildWindowMenu);
    rebuildWindowMenu();

    projectMenus_ << fileMenu(true) << editMenu << project << textures << source << viewMenu(true) << windowMenu_
                  << helpMenu(true);
}

void CMainFrame::rebuildRecentMenu(QMenu* menu)
{
    QAction* start = nullptr;
    QAction* end = nullptr;
    QList<QAction*> old;
    for (QAction* a : menu->actions()) {
        if (a->objectName() == "recentStart")
            start = a;
        else if (a->objectName() == "recentEnd")
            end = a;
        else if (start && !end)
            old << a;
    }
    if (!start || !end)
        return;
    for (QAction* a : old) {
        menu->removeAction(a);
        a->deleteLater();
    }
    end->setVisible(!recentFiles_.isEmpty());
    for (int i = 0; i < recentFiles_.size(); ++i) {
        const QString path = recentFiles_[i];
        auto* entry = new QAction(QString("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)), menu);
        entry->setObjectName(QString("recent_%1").arg(i + 1));
        entry->setStatusTip("Open this project");
        connect(entry, &QAction::triggered, this, [this, path] { openProjectFile(path); });
        menu->insertAction(end, entry);
    }
}

void CMainFrame::rebuildWindowMenu()
{
    windowMenu_->clear();
    QAction* newWindow = windowMenu_->addAction("&New Window", this, &CMainFrame::openNewWindow);
    newWindow->setObjectName("window.new");
    newWindow->setStatusTip("Open another window for the active project");
    windowMenu_->addAction("&Cascade", mdi_, &QMdiArea::cascadeSubWindows);
    windowMenu_->addAction("&Tile", mdi_, &QMdiArea::tileSubWindows);
    windowMenu_->addAction("Close &All", this, [this] {
        if (confirmCloseAll())
            for (ProjectWindow* w : projectWindows()) {
                w->setCloseConfirmed(true);
                w->close();
            }
    });
    const QList<ProjectWindow*> windows = projectWindows();
    if (!windows.isEmpty())
        windowMenu_->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        ProjectWindow* w = windows[i];
        QAction* entry = windowMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(w->projectTitle()), this,
                                                [this, w] { mdi_->setActiveSubWindow(w); });
        entry->setCheckable(true);
        entry->setChecked(w == activeProjectWindow());
    }
}

void CMainFrame::updateMenus()
{
    const bool withProject = !projectWindows().isEmpty();
    if (withProject == projectMenusShown_ && !menuBar()->actions().isEmpty())
        return;
    projectMenusShown_ = withProject;
    menuBar()->clear();
    for (QMenu* menu : withProject ? projectMenus_ : noProjectMenus_)
        menuBar()->addMenu(menu);
}

// ---------------------------------------------------------------- projects

CDibDoc* CMainFrame::activeDocument()
{
    ProjectWindow* w = activeProjectWindow();
    return w ? &w->document() : nullptr;
}

QWidget* CMainFrame::activeView()
{
    ProjectWindow* w = activeProjectWindow();
    return w ? w->view() : nullptr;
}

ProjectWindow* CMainFrame::activeProjectWindow() const
{
    // The current window stays current while the application is in the background.
    return qobject_cast<ProjectWindow*>(mdi_->currentSubWindow());
}

QList<ProjectWindow*> CMainFrame::projectWindows() const
{
    QList<ProjectWindow*> windows;
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (auto* p = qobject_cast<ProjectWindow*>(w))
            windows << p;
    return windows;
}

void CMainFrame::openDocumentWindow(std::unique_ptr<CDibDoc> doc)
{
    showProjectWindow(new ProjectWindow(std::move(doc), mdi_));
}

void CMainFrame::openNewWindow()
{
    if (ProjectWindow* active = activeProjectWindow())
        showProjectWindow(new ProjectWindow(active->project(), mdi_));
}

void CMainFrame::showProjectWindow(ProjectWindow* window)
{
    CDibView* view = window->view();
    connect(view, &CDibView::readoutsChanged, this, &CMainFrame::setCursorPosition);
    connect(view, &CDibView::zoomChanged, this, [this, view](const QString& text) {
        if (activeView() == view)
            setZoomText(text);
    });
    connect(window, &ProjectWindow::pathChanged, this, &CMainFrame::addRecentFile);
    connect(window, &QObject::destroyed, this, [this] {
        // Deferred: the window is still in the area's list while it is destroyed.
        QTimer::singleShot(0, this, [this] {
            updateMenus();
            updateSceneryProperties();
            refreshCommands();
        });
    });
    mdi_->addSubWindow(window);
    window->showMaximized();
    mdi_->setActiveSubWindow(window);
    updateMenus();
    onSubWindowActivated(window);
}

bool CMainFrame::openProjectFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (ProjectWindow* w : projectWindows())
        if (QFileInfo(QString::fromStdString(w->document().filePath)).absoluteFilePath() == absolute) {
            mdi_->setActiveSubWindow(w);
            return true;
        }
    auto doc = std::make_unique<CDibDoc>(app_);
    const std::string file = QDir::toNativeSeparators(absolute).toStdString();
    if (!openProject(*doc, file)) {
        removeRecentFile(absolute);
        return false;
    }
    doc->filePath = file;
    computeSceneryDimensions(*doc);
    openDocumentWindow(std::move(doc));
    addRecentFile(absolute);
    return true;
}

void CMainFrame::openProjectDialog()
{
    FileDialogOptions options;
    options.title = "Open Orvane Project";
    options.filter = "prj files (*.prj)|*.prj|";
    options.mustExist = true;
    const auto path = app_.platform.openFileDialog(options);
    if (path)
        openProjectFile(QString::fromStdString(*path));
}

bool CMainFrame::confirmCloseAll()
{
    for (ProjectWindow* w : projectWindows()) {
        mdi_->setActiveSubWindow(w);
        if (!w->maybeSave())
            return false;
        w->setCloseConfirmed(true);
    }
    return true;
}

void CMainFrame::onSubWindowActivated(QMdiSubWindow*)
{
    updateMenus();
    updateSceneryProperties();
    if (ProjectWindow* w = activeProjectWindow())
        setZoomText(w->view()->zoomText());
    refreshCommands();
}

void CMainFrame::updateSceneryProperties()
{
    if (CDibDoc* doc = activeDocument()) {
        showSceneryProperties(doc->sceneryWidthKm, doc->sceneryHeightKm, doc->metresPerPixel);
        return;
    }
    // Without a project the bar shows nothing rather than the last project's values.
    for (QLabel* value : sceneryValues_)
        value->clear();
}

// ---------------------------------------------------------------- recent files

void CMainFrame::loadRecentFiles()
{
    QSettings settings("Orvane", "Orvane");
    recentFiles_ = settings.value("Recent File List").toStringList().mid(0, kRecentFileCount);
}

void CMainFrame::saveRecentFiles() const
{
    QSettings settings("Orvane", "Orvane");
    settings.setValue("Recent File List", recentFiles_);
}

void CMainFrame::addRecentFile(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recentFiles_.removeAll(absolute);
    recentFiles_.prepend(absolute);
    while (recentFiles_.size() > kRecentFileCount)
        recentFiles_.removeLast();
    saveRecentFiles();
    for (QMenu* menu : recentMenus_)
        rebuildRecentMenu(menu);
}

void CMainFrame::removeRecentFile(const QString& path)
{
    if (recentFiles_.removeAll(QFileInfo(path).absoluteFilePath()) == 0)
        return;
    saveRecentFiles();
    for (QMenu* menu : recentMenus_)
        rebuildRecentMenu(menu);
}

// ---------------------------------------------------------------- window events

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!confirmCloseAll()) {
        for (ProjectWindow* w : projectWindows())
            w->setCloseConfirmed(false);
        event->ignore();
        return;
    }
    for (ProjectWindow* w : projectWindows())
        w->close();
    saveLayout();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            openProjectFile(url.toLocalFile());
}
