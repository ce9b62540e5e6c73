#include "base/ui/ProgressDialog.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QWindow>
#include <QPushButton>

ProgressDialog::ProgressDialog(const std::string& caption) : QDialog(nullptr)
{
    // No parent: a child window of the owner would be disabled together with it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setObjectName("progressDialog");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose, false);

    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    percent_ = new QLabel(QString::fromStdString(percentText()), this);
    percent_->setObjectName("percentText");
    status_ = new QLabel(this);
    status_->setObjectName("statusText");
    cancel_ = new QPushButton(tr("Cancel"), this);
    cancel_->setObjectName("cancelButton");
    cancel_->setAutoDefault(false);
    cancel_->setVisible(false);
    connect(cancel_, &QPushButton::clicked, this, [this] { pressCancel(); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(status_, 0, 0, 1, 2);
    layout->addWidget(bar_, 1, 0);
    layout->addWidget(percent_, 1, 1);
    layout->addWidget(cancel_, 2, 0, 1, 2, Qt::AlignHCenter);
    onRangeChanged();
    SetTitle(caption.empty() ? kDefaultCaption : caption);
}

void ProgressDialog::fitToTexts()
{
    // The title bar also carries the window's icon and buttons; 120 pixels leave room for them.
    const QFontMetrics metrics(font());
    const int caption = metrics.horizontalAdvance(windowTitle()) + 120;
    const QMargins margins = layout()->contentsMargins();
    const int status = metrics.horizontalAdvance(status_->text()) + margins.left() + margins.right();
    const int width = std::max({300, caption, status});
    setFixedSize(width, std::max(layout()->sizeHint().height(), 110));
}

void ProgressDialog::onCancelAsked()
{
    if (cancel_->isVisible() || cancel_->isVisibleTo(this))
        return;
    cancel_->setVisible(true);
    fitToTexts();
}

ProgressDialog::~ProgressDialog()
{
    Destroy();
}

bool ProgressDialog::Create(QWidget* owner)
{
    QWidget* top = owner ? owner->window() : QApplication::activeWindow();
    if (!top) {
        // The main window when no owner is given and nothing is active.
        const auto tops = QApplication::topLevelWidgets();
        for (QWidget* w : tops)
            if (w != this && w->isVisible() && !w->inherits("QDialog")) {
                top = w;
                break;
            }
    }
    if (top && top != this && top->isEnabled()) {
        top->setEnabled(false);
        owner_ = top;
        parentDisabled_ = true;
    }
    if (top && top != this) {
        move(top->geometry().center() - rect().center());
        // Kept above its owner by the window system, as a child window would be.
        winId();
        if (windowHandle() && top->windowHandle())
            windowHandle()->setTransientParent(top->windowHandle());
    }
    show();
    if (!isVisible()) {
        Destroy();
        return false;
    }
    raise();
    return true;
}

void ProgressDialog::Destroy()
{
    if (parentDisabled_ && owner_)
        owner_->setEnabled(true);
    parentDisabled_ = false;
    owner_ = nullptr;
    hide();
}

QString ProgressDialog::percentLabelText() const
{
    return percent_->text();
}

QString ProgressDialog::statusLabelText() const
{
    return status_->text();
}

void ProgressDialog::onRangeChanged()
{
    // The bar needs lower <= upper; the percentage keeps the true range.
    bar_->setRange(ProgressWindow::lower(), upper() < ProgressWindow::lower() ? ProgressWindow::lower() : upper());
    onPositionChanged();
}

void ProgressDialog::onPositionChanged()
{
    bar_->setValue(qBound(bar_->minimum(), ProgressWindow::pos(), bar_->maximum()));
    const QString text = QString::fromStdString(percentText());
    if (percent_->text() != text)
        percent_->setText(text);
}

void ProgressDialog::onTextChanged()
{
    const QString caption = QString::fromStdString(title().empty() ? std::string(kDefaultCaption) : title());
    const QString text = QString::fromStdString(status());
    if (caption == windowTitle() && text == status_->text() && width() >= 300)
        return;
    setWindowTitle(caption);
    status_->setText(text);
    fitToTexts();
}

void ProgressDialog::pump()
{
    // Only what is already pending; never waits for more.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProgressDialog::reject()
{
    pressCancel();
}
