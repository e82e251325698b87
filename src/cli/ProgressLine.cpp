// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressLine.h"

#include "cli/MessageCatalogue.h"
#include "crypto/Translate.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <sys/ioctl.h>

namespace kelvane::cli {
namespace {

constexpr int kBarWidth = 24;
// Narrower than this a bar shows too little to be worth its room.
constexpr int kNarrowestBar = 8;
// Where the width is unknown, the width of a classic terminal.
constexpr std::size_t kDefaultColumns = 80;
// Redraws at most this often, so a fast run spends nothing on the terminal.
constexpr double kRedrawSeconds = 0.1;
// The rate is too noisy to foretell anything before this much time.
constexpr double kFirstEstimateSeconds = 1.0;

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string Bar(double fraction, int width) {
    const int filled = std::min(width, static_cast<int>(fraction * width));
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '-') + "] ";
}

std::atomic<bool> gResized{true};
std::atomic<int> gColumns{0};

extern "C" void NoteResize(int) {
    gResized.store(true);
}

} // namespace

void WatchTerminalWidth() {
    struct sigaction action {};
    action.sa_handler = NoteResize;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGWINCH, &action, nullptr);
}

int TerminalColumns(int fd) {
    if (gResized.exchange(false)) {
        struct winsize size {};
        gColumns.store(::ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0);
    }
    return gColumns.load();
}

ProgressLine::ProgressLine(std::ostream& out, bool enabled, uint64_t totalBytes, Clock clock,
                           Columns columns)
    : out_(out), enabled_(enabled), drawn_(enabled), total_(totalBytes),
      clock_(clock ? std::move(clock) : Clock(SteadySeconds)), columns_(std::move(columns)),
      started_(clock_()) {}

ProgressLine::~ProgressLine() {
    Finish();
}

void ProgressLine::FileShare::SetPosition(int position) {
    ProgressCounter::SetPosition(position);
    // Undrawn, the count is read by nobody: the file's Close() adds it whole.
    if (!line_.drawn_)
        return;
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
    done_.fetch_add(bytes, std::memory_order_relaxed);
    // With no line to draw nothing else needs the lock, which files running
    // side by side would otherwise take in turn at every report.
    if (!drawn_)
        return;
    const std::lock_guard<std::mutex> lock(mutex_);
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
    const uint64_t doneBytes = done_.load(std::memory_order_relaxed);
    if (!force && drawnAt_ >= 0 && now - drawnAt_ < kRedrawSeconds && doneBytes < total_)
        return;
    drawnAt_ = now;
    const double done = static_cast<double>(doneBytes), total = static_cast<double>(total_);
    const double fraction = total > 0 ? done / total : 1.0;
    const double elapsed = now - started_;
    std::string estimate;
    if (elapsed >= kFirstEstimateSeconds && done > 0) {
        const double rate = done / elapsed;
        // TRANSLATORS: %1 is the bytes a second ("1.5 MiB"), %2 the time left ("1:05").
        estimate = "  " + FormatText(Tr("cli", "%1/s  %2 left"),
                                     {Bytes(rate), Duration((total - done) / rate)});
    }
    const int columns = columns_ ? columns_() : 0;
    const std::size_t width = columns > 0 ? static_cast<std::size_t>(columns) : kDefaultColumns;
    // TRANSLATORS: the bytes done of all the bytes: "1.5 MiB of 20.0 MiB".
    const std::string bytes = "  " + FormatText(Tr("cli", "%1 of %2"), {Bytes(done), Bytes(total)});
    out_ << '\r' << Fitted(fraction, bytes, estimate, width) << "\033[K" << std::flush;
    onScreen_ = true;
}

std::string ProgressLine::Fitted(double fraction, const std::string& bytes,
                                 const std::string& estimate, std::size_t columns) {
    char percent[8];
    static_cast<void>(
        std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(fraction * 100)));
    const std::size_t room = columns > 1 ? columns - 1 : 0;
    const std::string choices[] = {percent + bytes + estimate, percent + bytes};
    for (const std::string& figures : choices) {
        const std::size_t shown = TextColumns(figures);
        const std::size_t barRoom = room > shown + 3 ? room - shown - 3 : 0;
        const int bar = static_cast<int>(std::min<std::size_t>(kBarWidth, barRoom));
        if (bar >= kNarrowestBar)
            return Bar(fraction, bar) + figures;
    }
    for (const std::string& figures : {choices[1], std::string(percent)}) {
        if (TextColumns(figures) <= room)
            return figures;
    }
    return std::string(percent).substr(0, room);
}

std::string ProgressLine::Bytes(double bytes) {
    static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    while (bytes >= 1024 && unit < 4) {
        bytes /= 1024;
        ++unit;
    }
    char text[32];
    static_cast<void>(
        std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]));
    return text;
}

std::string ProgressLine::Duration(double seconds) {
    // Rounded by hand: std::llround alone made the program load libm. A
    // time that is no number, negative or beyond any run's reads as 0.
    long long whole = 0;
    if (seconds > 0 && seconds < 1e12) {
        whole = static_cast<long long>(seconds);
        if (seconds - static_cast<double>(whole) >= 0.5)
            ++whole;
    }
    char text[32];
    if (whole >= 3600)
        static_cast<void>(std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600,
                                        whole / 60 % 60, whole % 60));
    else
        static_cast<void>(std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60));
    return text;
}

} // namespace kelvane::cli
