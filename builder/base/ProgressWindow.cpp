#include "base/ProgressWindow.h"

#include <cstdio>

void ProgressWindow::SetRange(int lower, int upper)
{
    lower_ = lower;
    upper_ = upper;
    onRangeChanged();
}

void ProgressWindow::SetStep(int step)
{
    step_ = step;
    onRangeChanged();
}

int ProgressWindow::SetPos(int pos)
{
    pump();
    const int previous = pos_;
    pos_ = pos;
    updatePercent();
    return previous;
}

int ProgressWindow::OffsetPos(int delta)
{
    pump();
    const int previous = pos_;
    pos_ = previous + delta;
    updatePercent();
    return previous;
}

int ProgressWindow::StepIt()
{
    pump();
    const int previous = pos_;
    pos_ = previous + step_;
    updatePercent();
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
    pump();
    const bool result = cancelled_;
    cancelled_ = false;
    return result;
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

void ProgressWindow::updatePercent()
{
    const std::string text = percentFor(pos_, lower_, upper_);
    const bool textChanged = text != percentText_;
    percentText_ = text;
    (void)textChanged;
    onPositionChanged();
}
