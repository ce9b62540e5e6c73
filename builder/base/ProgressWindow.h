#pragma once
// Progress window semantics shared by every long operation: range, step, position,
// the percentage text rule and a Cancel flag that only the operation reads.

#include <cstdint>
#include <string>

class ProgressWindow {
public:
    /// Redraws and event pumps come at most this often; operations may report every record.
    static constexpr std::int64_t kDefaultUpdateMicros = 15000;

    virtual ~ProgressWindow() = default;

    void SetRange(int lower, int upper);
    void SetStep(int step);
    /// Each of these returns the previous position. When an update is due (see setUpdateInterval)
    /// they pump pending events and redraw; reaching the upper end always redraws.
    int SetPos(int pos);
    int OffsetPos(int delta);
    int StepIt()
    {
        const int previous = pos_;
        pos_ = previous + step_;
        positionChanged();
        return previous;
    }
    void SetStatus(const std::string& text);
    void SetTitle(const std::string& text);
    /// Returns whether Cancel was pressed since the last call, and clears the flag. Pumps pending
    /// events when an update is due.
    bool CheckCancelButton();

    /// Called by the window when its Cancel button is pressed: only sets the flag.
    void pressCancel() { cancelled_ = true; }

    /// The shortest time between two updates; 0 updates at every call.
    void setUpdateInterval(std::int64_t microseconds) { intervalMicros_ = microseconds; }
    std::int64_t updateInterval() const { return intervalMicros_; }

    int lower() const { return lower_; }
    int upper() const { return upper_; }
    int step() const { return step_; }
    int pos() const { return pos_; }
    const std::string& status() const { return status_; }
    const std::string& title() const { return title_; }
    /// The percentage of the current position, " 0 %" until the first position change; formatted
    /// only when asked for.
    const std::string& percentText() const;

    /// The percentage rule: (pos - lower) * 100 / (upper - lower), integer division, taken modulo 100
    /// unless it is exactly 100, as "%d%%". An empty range (upper == lower) shows "0%" instead of failing.
    static std::string percentFor(int pos, int lower, int upper);

protected:
    /// Hooks for the concrete window: redraw the bar / texts, and let pending events run.
    virtual void onRangeChanged() {}
    virtual void onPositionChanged() {}
    virtual void onTextChanged() {}
    virtual void pump() {}
    /// A monotonic clock in microseconds; tests replace it.
    virtual std::int64_t nowMicros() const;
    /// The operation asked for Cancel: it can stop, so the window may offer the button.
    virtual void onCancelAsked() {}

private:
    // The common case, a report between two updates, is inline: a counter and two compares.
    void positionChanged()
    {
        percentStale_ = true;
        positionShown_ = false;
        if (--countdown_ == 0 || pos_ == upper_)
            positionUpdate();
    }
    void positionUpdate();
    bool updateDue();
    bool clockSaysDue();
    void update();

    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    int pos_ = 0;
    bool cancelled_ = false;
    bool positionShown_ = true;
    int shownPos_ = 0;
    std::string status_;
    std::string title_;
    mutable std::string percentText_ = " 0 %";
    mutable bool percentStale_ = false;

    std::int64_t intervalMicros_ = kDefaultUpdateMicros;
    // The clock is read only every stride_ calls, the stride growing while calls come fast, so a
    // call per record costs a counter and a branch.
    std::int64_t lastCheck_ = 0;
    std::int64_t lastUpdate_ = 0;
    bool updatedOnce_ = false;
    std::uint32_t stride_ = 1;
    std::uint32_t countdown_ = 1;
};
