// SPDX-License-Identifier: GPL-3.0-or-later
// The progress pair the engine reports through: a position of 0..100 and a
// counter (`Tag`) per bar. The window's bars and the command-line progress
// implement it; tests record what the engine reports.
#pragma once

namespace kelvane {

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual int Position() const = 0;
    // The bar holds the position within 0..100.
    virtual void SetPosition(int position) = 0;
    virtual int Tag() const = 0;
    virtual void SetTag(int tag) = 0;
};

// A bar with nothing on screen: keeps the two numbers only.
class ProgressCounter : public ProgressBar {
public:
    int Position() const override { return position_; }
    void SetPosition(int position) override {
        position_ = position < 0 ? 0 : (position > 100 ? 100 : position);
    }
    int Tag() const override { return tag_; }
    void SetTag(int tag) override { tag_ = tag; }

private:
    int position_ = 0;
    int tag_ = 0;
};

} // namespace kelvane
