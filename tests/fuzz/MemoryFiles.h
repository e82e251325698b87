// SPDX-License-Identifier: GPL-3.0-or-later
// One source file held in memory and one destination collected in memory, so
// the engine runs on fuzzed bytes without touching the disk.
#pragma once

#include "platform/FileAccess.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace kelvane::fuzzing {

class MemoryFiles : public FileAccess {
public:
    explicit MemoryFiles(std::string_view source) : source_(source) {}

    std::vector<uint8_t> output;
    bool committed = false;

    std::unique_ptr<SourceFile> OpenSource(const std::string&) override {
        return std::make_unique<Source>(source_);
    }
    std::unique_ptr<DestinationFile> CreateDestination(const std::string&, unsigned) override {
        output.clear();
        committed = false;
        return std::make_unique<Destination>(*this);
    }
    bool SameFile(const std::string& a, const std::string& b) override { return a == b; }

private:
    class Source : public SourceFile {
    public:
        explicit Source(std::string_view data) : data_(data) {}
        bool Size(int64_t& size) override {
            size = static_cast<int64_t>(data_.size());
            return true;
        }
        int64_t Read(void* buffer, std::size_t count) override {
            const std::size_t got = std::min(count, data_.size() - position_);
            std::memcpy(buffer, data_.data() + position_, got);
            position_ += got;
            return static_cast<int64_t>(got);
        }
        unsigned PermissionBits() override { return 0600; }
        FileIdentity OpenedAs() override { return {}; }

    private:
        std::string_view data_;
        std::size_t position_ = 0;
    };

    class Destination : public DestinationFile {
    public:
        explicit Destination(MemoryFiles& owner) : owner_(owner) {}
        bool Write(const void* data, std::size_t count) override {
            if (!WriteAt(position_, data, count))
                return false;
            position_ += count;
            return true;
        }
        bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
            std::vector<uint8_t>& out = owner_.output;
            if (out.size() < offset + count)
                out.resize(offset + count);
            std::memcpy(out.data() + offset, data, count);
            return true;
        }
        CommitOutcome Commit(Existing) override {
            owner_.committed = true;
            return CommitOutcome::Done;
        }

    private:
        MemoryFiles& owner_;
        uint64_t position_ = 0;
    };

    std::string_view source_;
};

} // namespace kelvane::fuzzing
