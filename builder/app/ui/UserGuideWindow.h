#pragma once
#include <QWidget>

class QTextBrowser;

/// The user guide (Markdown with pictures beside it) in a window of its own, so it reads the
/// same on every desktop whatever opens .md files there.
class UserGuideWindow : public QWidget {
    Q_OBJECT
public:
    /// Shows `guidePath`, reusing the one guide window of `owner` when it is already open.
    static UserGuideWindow* showGuide(QWidget* owner, const QString& guidePath);

    QTextBrowser* browser() const { return browser_; }

private:
    explicit UserGuideWindow(QWidget* owner);
    QTextBrowser* browser_ = nullptr;
};
