#include "app/ui/ProjectWindow.h"

#include "app/ui/AppIcons.h"

#include <QCloseEvent>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "view/ui/CDibView.h"
#include "project/ProjectFolder.h"

namespace {
QList<ProjectWindow*>& allWindows()
{
    static QList<ProjectWindow*> windows;
    return windows;
}
} // namespace

ProjectWindow::ProjectWindow(std::unique_ptr<CDibDoc> doc, QWidget* parent)
    : ProjectWindow(std::shared_ptr<CDibDoc>(std::move(doc)), parent)
{
}

ProjectWindow::ProjectWindow(std::shared_ptr<CDibDoc> doc, QWidget* parent) : QMdiSubWindow(parent), doc_(std::move(doc))
{
    setObjectName("projectWindow");
    setWindowIcon(AppIcons::document());
    setAttribute(Qt::WA_DeleteOnClose);
    view_ = new CDibView(*doc_, this);
    setWidget(view_);
    allWindows().append(this);
    CDibDoc* project = doc_.get();
    doc_->onModifiedChanged = [project] {
        for (ProjectWindow* w : allWindows())
            if (&w->document() == project)
                w->setWindowModified(project->modified);
    };
    doc_->onRepaint = [project] { CDibView::refreshViewsOf(*project); };
    updateTitle();
    setWindowModified(doc_->modified);
}

ProjectWindow::~ProjectWindow()
{
    // The view reads the project while it goes; it must go before this window's share of it.
    delete view_;
    view_ = nullptr;
    allWindows().removeAll(this);
    // The callbacks reach the project's windows; with the last one gone nothing is left to call.
    if (windowsOfProject().isEmpty()) {
        doc_->onModifiedChanged = nullptr;
        doc_->onRepaint = nullptr;
    }
}

QList<ProjectWindow*> ProjectWindow::windowsOfProject() const
{
    QList<ProjectWindow*> windows;
    for (ProjectWindow* w : allWindows())
        if (w->doc_ == doc_)
            windows << w;
    return windows;
}

QString ProjectWindow::projectTitle() const
{
    if (doc_->filePath.empty())
        return "Untitled";
    return QString::fromStdString(PathUtil::fileName(doc_->filePath));
}

void ProjectWindow::updateTitle()
{
    setWindowTitle(projectTitle() + "[*]");
}

bool ProjectWindow::save()
{
    if (doc_->filePath.empty())
        return saveAs();
    return saveProject(*doc_, doc_->filePath);
}

bool ProjectWindow::saveAs()
{
    FileDialogOptions options;
    options.title = "Save As";
    options.filter = "PRJ Files (*.prj)|*.prj||";
    options.defaultExt = "prj";
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    options.initialDir = projectFolder(*doc_);
    options.initialFile = doc_->filePath.empty() ? std::string() : PathUtil::fileName(doc_->filePath);
    const auto path = doc_->app.platform.saveFileDialog(options);
    if (!path)
        return false;
    if (!saveProject(*doc_, *path))
        return false;
    doc_->filePath = *path;
    updateTitle();
    emit pathChanged(QString::fromStdString(*path));
    return true;
}

bool ProjectWindow::maybeSave()
{
    if (!doc_->modified)
        return true;
    const std::string text = "Save changes to " + projectTitle().toStdString() + "?";
    switch (doc_->app.platform.message(text, MsgIcon::Exclamation, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes: return save();
    case MsgAnswer::No: return true;
    default: return false;
    }
}

void ProjectWindow::closeEvent(QCloseEvent* event)
{
    // Only the project's last window asks about saving.
    if (closeConfirmed_ || windowsOfProject().size() > 1 || maybeSave()) {
        event->accept();
        QMdiSubWindow::closeEvent(event);
    } else {
        event->ignore();
    }
}
