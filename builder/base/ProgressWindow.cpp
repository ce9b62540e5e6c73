#include "base/ProgressWindow.h"

#include <chrono>
#include <cstdio>

namespace {
// Clock reads aim at about one per millisecond; a call that took longer starts the stride over.
constexpr std::int64_t kCheckMicros = 1000;
constexpr std::uint32_t kMaxStride = 256;   // bounds the delay when steps suddenly slow down
} // namespace

void ProgressWindow::SetRange(int lower, int upper)
{
    lower_ = lower;
    upper_ = upper;
    positionShown_ = true;
    onRangeChanged();
}

void ProgressWindow::SetStep(int step)
{
    step_ = step;
    positionShown_ = true;
    onRangeChanged();
}

int ProgressWindow::SetPos(int pos)
{
    const int previous = pos_;
    pos_ = pos;
    positionChanged();
    return previous;
}

int ProgressWindow::OffsetPos(int delta)
{
    const int previous = pos_;
    pos_ = previous + delta;
    positionChanged();
    return previous;
}

void ProgressWindow::SetStatus(const std::string& text)
{
    status_ = text;
    onTextChanged();
}

void ProgressWindow::SetTitle(const std::string& text)
{
    title_ = text;
    onTextChanged();
}

bool ProgressWindow::CheckCancelButton()
{
    onCancelAsked();
    if (updateDue())
        update();
    const bool result = cancelled_;
    cancelled_ = false;
    return result;
}

const std::string& ProgressWindow::percentText() const
{
    if (percentStale_) {
        percentText_ = percentFor(pos_, lower_, upper_);
        percentStale_ = false;
    }
    return percentText_;
}

std::string ProgressWindow::percentFor(int pos, int lower, int upper)
{
    // 64-bit arithmetic: positions near the int limits must not overflow the product.
    const long long span = static_cast<long long>(upper) - lower;
    long long percent = 0;
    if (span != 0)
        percent = (static_cast<long long>(pos) - lower) * 100 / span;
    if (percent != 100)
        percent %= 100;
    char text[32];
    std::snprintf(text, sizeof text, "%lld%c", percent, '%');
    return text;
}

std::int64_t ProgressWindow::nowMicros() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ProgressWindow::positionUpdate()
{
    // Reached through the countdown or at the end of the range, which is always shown, so a
    // finished operation never shows a stale bar.
    const bool due = countdown_ == 0 ? clockSaysDue() : false;
    if (due || (pos_ == upper_ && shownPos_ != upper_))
        update();
}

bool ProgressWindow::updateDue()
{
    return --countdown_ == 0 && clockSaysDue();
}

bool ProgressWindow::clockSaysDue()
{
    if (intervalMicros_ <= 0) {
        countdown_ = 1;
        return true;
    }
    const std::int64_t now = nowMicros();
    const std::int64_t sinceCheck = now - lastCheck_;
    lastCheck_ = now;
    if (sinceCheck < kCheckMicros) {
        if (stride_ < kMaxStride)
            stride_ *= 2;
    } else {
        stride_ = 1;
    }
    countdown_ = stride_;
    if (updatedOnce_ && now - lastUpdate_ < intervalMicros_)
        return false;
    return true;
}

void ProgressWindow::update()
{
    pump();
    if (intervalMicros_ > 0) {
        lastUpdate_ = nowMicros();
        updatedOnce_ = true;
    }
    if (!positionShown_) {
        positionShown_ = true;
        shownPos_ = pos_;
        onPositionChanged();
    }
}
