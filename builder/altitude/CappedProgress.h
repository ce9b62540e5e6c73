#pragma once
// The progress window of the altitude readers: one step per record, but a bar of at most 65535
// steps; steps beyond that leave the bar full instead of wrapping it round.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>

#include "base/Platform.h"

class CappedProgress {
public:
    static constexpr std::size_t kMaxSteps = 65535;

    CappedProgress(Platform& platform, const std::string& caption, std::size_t count)
        : window_(platform.createProgress(caption)), cap_(std::min(count, kMaxSteps))
    {
        if (window_) {
            window_->SetRange(0, static_cast<int>(cap_));
            window_->SetStep(1);
        }
    }

    void step()
    {
        if (window_ && done_ < cap_) {
            ++done_;
            window_->StepIt();
        }
    }

    /// `count` steps at once: the same window updates as that many calls to step().
    void advance(std::size_t count)
    {
        for (; count > 0 && window_ && done_ < cap_; --count) {
            ++done_;
            window_->StepIt();
        }
    }

    /// Whether the user pressed Cancel since the last look (pumps pending events). Once the bar
    /// is full only every 64th look pumps, so a large image is not slowed down by the event loop.
    bool cancelled()
    {
        if (!window_)
            return false;
        if (done_ < cap_ || (++looksAfterCap_ & 63) == 0)
            return window_->CheckCancelButton();
        return false;
    }

private:
    std::unique_ptr<ProgressWindow> window_;
    std::size_t cap_;
    std::size_t done_ = 0;
    std::size_t looksAfterCap_ = 0;
};
