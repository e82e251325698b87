// A one-line progress bar for a terminal, redrawn in place.
#pragma once

#include "crypto/Progress.h"

#include <ostream>
#include <string>

namespace kelvane::cli {

// Draws whenever the position changes; a disabled line only counts.
class ProgressLine : public ProgressCounter {
public:
    ProgressLine(std::ostream& out, std::string label, bool enabled);
    ~ProgressLine() override;
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void SetPosition(int position) override;
    // Ends the line if anything was drawn.
    void Finish();

private:
    void Draw();

    std::ostream& out_;
    std::string label_;
    bool enabled_;
    int drawn_ = -1;
};

} // namespace kelvane::cli
