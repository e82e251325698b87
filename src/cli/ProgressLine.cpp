#include "cli/ProgressLine.h"

namespace kelvane::cli {
namespace {
constexpr int kBarWidth = 30;
}

ProgressLine::ProgressLine(std::ostream& out, std::string label, bool enabled)
    : out_(out), label_(std::move(label)), enabled_(enabled) {}

ProgressLine::~ProgressLine() {
    Finish();
}

void ProgressLine::SetPosition(int position) {
    ProgressCounter::SetPosition(position);
    if (enabled_ && Position() != drawn_)
        Draw();
}

void ProgressLine::Draw() {
    drawn_ = Position();
    const int filled = drawn_ * kBarWidth / 100;
    out_ << '\r' << label_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '-') << "] ";
    out_.width(3);
    out_ << drawn_ << '%' << std::flush;
}

void ProgressLine::Finish() {
    if (drawn_ >= 0)
        out_ << '\n' << std::flush;
    drawn_ = -1;
    enabled_ = false;
}

} // namespace kelvane::cli
