// SPDX-License-Identifier: GPL-3.0-or-later
// One progress line for a whole run on a terminal: a bar, the bytes done of
// all files, the rate and the time left, redrawn in place. Files running at
// once each feed their share; their messages are written through the line
// so that a message and the bar never share a row.
#pragma once

#include "engine/Progress.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

namespace kelvane::cli {

class ProgressLine {
public:
    using Clock = std::function<double()>; // seconds from any fixed moment
    using Columns = std::function<int()>;  // the terminal's width; 0 when unknown

    // Draws on `out` only when `enabled`; `totalBytes` is the size of every
    // file of the run together. The line never takes the terminal's last
    // column, where it would wrap.
    ProgressLine(std::ostream& out, bool enabled, uint64_t totalBytes, Clock clock = {},
                 Columns columns = {});
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // A bar for the engine that counts its 0..100 as `bytes` of the run.
    // Safe to use from several threads at once, one counter per file.
    class FileShare : public ProgressCounter {
    public:
        FileShare(ProgressLine& line, uint64_t bytes) : line_(line), bytes_(bytes) {}
        void SetPosition(int position) override;
        // The file is over, done or not: its whole share counts as passed.
        void Close();

    private:
        ProgressLine& line_;
        uint64_t bytes_;
        uint64_t counted_ = 0;
    };
    std::unique_ptr<FileShare> ShareFor(uint64_t bytes);

    // Writes whole lines to `stream` with the bar lifted out of their way.
    void WriteLines(std::ostream& stream, const std::string& text);
    // Takes the bar off the screen for good.
    void Finish();

    // The whole line for a terminal of `columns`: the time estimate goes
    // first, then the bar narrows, then it goes, then the byte counts.
    static std::string Fitted(double fraction, const std::string& bytes,
                              const std::string& estimate, std::size_t columns);

    // "12.5 MiB", "3.0 GiB"; "0:07", "1:02:03".
    static std::string Bytes(double bytes);
    static std::string Duration(double seconds);

private:
    void Count(uint64_t bytes);
    void DrawLocked(bool force);
    void EraseLocked();

    std::mutex mutex_;
    std::ostream& out_;
    bool enabled_;
    const bool drawn_; // whether the line was ever to be drawn
    uint64_t total_;
    std::atomic<uint64_t> done_{0};
    Clock clock_;
    Columns columns_;
    double started_;
    double drawnAt_ = -1;
    bool onScreen_ = false;
};

// The width of the terminal on `fd`, asked again only after a SIGWINCH; 0
// when `fd` is no terminal. WatchTerminalWidth installs the signal's handler.
void WatchTerminalWidth();
int TerminalColumns(int fd);

} // namespace kelvane::cli
