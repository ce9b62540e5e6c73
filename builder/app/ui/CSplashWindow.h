#pragma once
// The start-up picture: a borderless window centred on the screen that closes after five
// seconds or at the first key press or mouse click.

#include <QPixmap>
#include <QWidget>

class CSplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMilliseconds = 5000;
    explicit CSplashWindow(QWidget* parent = nullptr);
    /// Shows the window and starts its timer; it deletes itself when it closes.
    void showCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
    /// Any key press or mouse click in the program ends the splash.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPixmap picture_;
};
