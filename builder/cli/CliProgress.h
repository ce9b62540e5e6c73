#pragma once
// A progress window for the batch program: a one-line bar on the error stream, redrawn in place.
// It draws only when asked to (the program asks when standard error is a terminal).

#include <iosfwd>
#include <string>

#include "base/ProgressWindow.h"

class CliProgress : public ProgressWindow {
public:
    CliProgress(std::ostream& err, std::string caption, bool draw);
    ~CliProgress() override;
    CliProgress(const CliProgress&) = delete;
    CliProgress& operator=(const CliProgress&) = delete;

    /// The bar line for the current state, e.g. "Loading DTED Map... [#####     ]  50%".
    std::string barLine(int width = 30) const;

protected:
    void onRangeChanged() override { redraw(); }
    void onPositionChanged() override { redraw(); }
    void onTextChanged() override { redraw(); }

private:
    void redraw();

    std::ostream& err_;
    std::string caption_;
    bool draw_;
    bool drawn_ = false;
    std::string lastLine_;
};
