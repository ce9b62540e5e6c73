#include "app/ui/ProjectWindow.h"

#include <QCloseEvent>

#include "project/AppContext.h"
#include "base/PathUtil.h"
#include "base/Platform.h"
#include "project/CDibDoc.h"
#include "project/ProjectFile.h"
#include "view/ui/CDibView.h"

ProjectWindow::ProjectWindow(std::unique_ptr<CDibDoc> doc, QWidget* parent) : QMdiSubWindow(parent), doc_(std::move(doc))
{
    setObjectName("projectWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    view_ = new CDibView(*doc_, this);
    setWidget(view_);
    doc_->onModifiedChanged = [this] { setWindowModified(doc_->modified); };
    doc_->onRepaint = [this] { view_->refresh(); };
    updateTitle();
    setWindowModified(doc_->modified);
}

ProjectWindow::~ProjectWindow()
{
    // The callbacks point at this window; the project outlives it only for the next line.
    doc_->onModifiedChanged = nullptr;
    doc_->onRepaint = nullptr;
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
    options.initialDir = PathUtil::folder(doc_->filePath);
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
    if (closeConfirmed_ || maybeSave()) {
        event->accept();
        QMdiSubWindow::closeEvent(event);
    } else {
        event->ignore();
    }
}
