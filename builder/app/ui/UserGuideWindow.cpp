#include "app/ui/UserGuideWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

UserGuideWindow::UserGuideWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName("userGuide");
    setWindowTitle("Orvane User Guide");
    setAttribute(Qt::WA_DeleteOnClose);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("guideText");
    // Links to the web go to the desktop's browser; links inside the guide stay here.
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(900, 700);
}

UserGuideWindow* UserGuideWindow::showGuide(QWidget* owner, const QString& guidePath)
{
    auto* window = owner ? owner->findChild<UserGuideWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new UserGuideWindow(owner);
    // Pictures are named relative to the guide, so the file is loaded by its address.
    window->browser_->setSource(QUrl::fromLocalFile(guidePath), QTextDocument::MarkdownResource);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
