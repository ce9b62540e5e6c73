#include "app/ui/CSplashWindow.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/ui/ToolIcons.h"

CSplashWindow::CSplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(ToolIcons::splashPicture())
{
    setObjectName("splashWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(picture_.size());
}

void CSplashWindow::showCentred()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    qApp->installEventFilter(this);
    QTimer::singleShot(kShowMilliseconds, this, &QWidget::close);
}

void CSplashWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, picture_);
}

bool CSplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        close();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
