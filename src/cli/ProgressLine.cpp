#include "cli/ProgressLine.h"

#include <chrono>
#include <cstdio>

namespace kelvane::cli {
namespace {

constexpr int kBarWidth = 24;
// Redraws at most this often, so a fast run spends nothing on the terminal.
constexpr double kRedrawSeconds = 0.1;
// The rate is too noisy to foretell anything before this much time.
constexpr double kFirstEstimateSeconds = 1.0;

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

ProgressLine::ProgressLine(std::ostream& out, bool enabled, uint64_t totalBytes, Clock clock)
    : out_(out), enabled_(enabled), total_(totalBytes),
      clock_(clock ? std::move(clock) : Clock(SteadySeconds)), started_(clock_()) {}

ProgressLine::~ProgressLine() {
    Finish();
}

void ProgressLine::FileShare::SetPosition(int position) {
    ProgressCounter::SetPosition(position);
    const uint64_t reached = bytes_ / 100 * static_cast<uint64_t>(Position()) +
                             bytes_ % 100 * static_cast<uint64_t>(Position()) / 100;
    if (reached > counted_) {
        line_.Count(reached - counted_);
        counted_ = reached;
    }
}

void ProgressLine::FileShare::Close() {
    if (bytes_ > counted_)
        line_.Count(bytes_ - counted_);
    counted_ = bytes_;
}

std::unique_ptr<ProgressLine::FileShare> ProgressLine::ShareFor(uint64_t bytes) {
    return std::make_unique<FileShare>(*this, bytes);
}

void ProgressLine::Count(uint64_t bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    done_ += bytes;
    DrawLocked(false);
}

void ProgressLine::WriteLines(std::ostream& stream, const std::string& text) {
    if (text.empty())
        return;
    const std::lock_guard<std::mutex> lock(mutex_);
    EraseLocked();
    stream << text << std::flush;
    DrawLocked(true);
}

void ProgressLine::Finish() {
    const std::lock_guard<std::mutex> lock(mutex_);
    EraseLocked();
    enabled_ = false;
}

void ProgressLine::EraseLocked() {
    if (onScreen_)
        out_ << "\r\033[K" << std::flush;
    onScreen_ = false;
}

void ProgressLine::DrawLocked(bool force) {
    if (!enabled_)
        return;
    const double now = clock_();
    if (!force && drawnAt_ >= 0 && now - drawnAt_ < kRedrawSeconds && done_ < total_)
        return;
    drawnAt_ = now;
    const double done = static_cast<double>(done_), total = static_cast<double>(total_);
    const double fraction = total > 0 ? done / total : 1.0;
    const int filled = static_cast<int>(fraction * kBarWidth);
    const double elapsed = now - started_;
    std::string line = "\r[" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] ";
    char percent[8];
    std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(fraction * 100));
    line += percent;
    line += "  " + Bytes(done) + " of " + Bytes(total);
    if (elapsed >= kFirstEstimateSeconds && done > 0) {
        const double rate = done / elapsed;
        line += "  " + Bytes(rate) + "/s  " + Duration((total - done) / rate) + " left";
    }
    out_ << line << "\033[K" << std::flush;
    onScreen_ = true;
}

std::string ProgressLine::Bytes(double bytes) {
    static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    while (bytes >= 1024 && unit < 4) {
        bytes /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]);
    return text;
}

std::string ProgressLine::Duration(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

} // namespace kelvane::cli
