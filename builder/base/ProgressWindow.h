#pragma once
// Progress window semantics shared by every long operation: range, step, position,
// the percentage text rule and a Cancel flag that only the operation reads.

#include <cstdint>
#include <string>

class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;

    void SetRange(int lower, int upper);
    void SetStep(int step);
    /// Each of these pumps pending events first and returns the previous position.
    int SetPos(int pos);
    int OffsetPos(int delta);
    int StepIt();
    void SetStatus(const std::string& text);
    void SetTitle(const std::string& text);
    /// Pumps events, returns whether Cancel was pressed since the last call, and clears the flag.
    bool CheckCancelButton();

    /// Called by the window when its Cancel button is pressed: only sets the flag.
    void pressCancel() { cancelled_ = true; }

    int lower() const { return lower_; }
    int upper() const { return upper_; }
    int step() const { return step_; }
    int pos() const { return pos_; }
    const std::string& status() const { return status_; }
    const std::string& title() const { return title_; }
    /// The percentage text currently shown, " 0 %" until the first position change.
    const std::string& percentText() const { return percentText_; }

    /// The percentage rule: (pos - lower) * 100 / (upper - lower), integer division, taken modulo 100
    /// unless it is exactly 100, as "%d%%". An empty range (upper == lower) shows "0%" instead of failing.
    static std::string percentFor(int pos, int lower, int upper);

protected:
    /// Hooks for the concrete window: redraw the bar / texts, and let pending events run.
    virtual void onRangeChanged() {}
    virtual void onPositionChanged() {}
    virtual void onTextChanged() {}
    virtual void pump() {}
    /// The operation asked for Cancel: it can stop, so the window may offer the button.
    virtual void onCancelAsked() {}

private:
    void updatePercent();

    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    int pos_ = 0;
    bool cancelled_ = false;
    std::string status_;
    std::string title_;
    std::string percentText_ = " 0 %";
};
