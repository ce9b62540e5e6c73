#pragma once
// Waiting in GUI tests: always on a condition, with a limit generous enough for a loaded
// machine. A condition that never comes true fails the test at the limit instead of hanging.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>

/// Limit of every wait in the GUI tests, in milliseconds.
constexpr int kGuiWaitMs = 60000;

/// Runs `action` on the modal dialog of type T as soon as it is up (polled from the event loop
/// that the dialog's exec() runs). When none shows within the limit, `missed` (if given) is set.
template <typename T>
void whenModal(std::function<void(T*)> action, bool* missed = nullptr)
{
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action, missed] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool up = dialog && dialog->isVisible();
        if (!up && clock->elapsed() < kGuiWaitMs)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (up)
            action(dialog);
        else if (missed)
            *missed = true;
    });
    timer->start(10);
}
