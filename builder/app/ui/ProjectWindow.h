#pragma once
// The window of one open project inside the main window: owns the project and shows its view.

#include <QList>
#include <QMdiSubWindow>
#include <memory>

class CDibDoc;
class CDibView;

class ProjectWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ProjectWindow(std::unique_ptr<CDibDoc> doc, QWidget* parent = nullptr);
    /// Another window on a project that is open already (New Window): its own view, zoom and modes.
    explicit ProjectWindow(std::shared_ptr<CDibDoc> doc, QWidget* parent = nullptr);
    ~ProjectWindow() override;

    CDibDoc& document() const { return *doc_; }
    std::shared_ptr<CDibDoc> project() const { return doc_; }
    /// The windows that show the project, this one among them.
    QList<ProjectWindow*> windowsOfProject() const;
    CDibView* view() const { return view_; }

    /// The title: the project file's name, or "Untitled" before the first save.
    QString projectTitle() const;
    /// Refreshes the title after the project's path changed.
    void updateTitle();

    /// Saves to the project's path, or asks for one when it has none. False when not saved.
    bool save();
    /// Asks for a path ("PRJ Files (*.prj)") and saves there. False when cancelled or not saved.
    bool saveAs();
    /// The usual question for a modified project: Yes saves, No discards, Cancel keeps the window.
    /// True when the window may close.
    bool maybeSave();

    /// Lets the window close without the question (after the frame asked already).
    void setCloseConfirmed(bool confirmed) { closeConfirmed_ = confirmed; }

signals:
    /// The project's path changed (Save As); the frame records it in the recent-file list.
    void pathChanged(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::shared_ptr<CDibDoc> doc_;
    CDibView* view_ = nullptr;
    bool closeConfirmed_ = false;
};
