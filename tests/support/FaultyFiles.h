// SPDX-License-Identifier: GPL-3.0-or-later
// The real file system with faults on demand: the n-th write fails (a full
// disk, with part of its data on disk first if asked), a read comes up short
// or fails, the commit fails or goes unconfirmed, or the size query lies. It
// also counts what was read and can act just before the commit.
#pragma once

#include "platform/FileAccess.h"

#include <functional>
#include <optional>

namespace kelvane::testing_support {

class FaultyFiles : public FileAccess {
public:
    std::optional<int> failWriteAt;  // 0-based index over all writes of the run
    bool halfOfFailedWrite = false;  // the failing write puts half its data on disk
    bool failCommit = false;         // nothing is put in place
    bool unconfirmedCommit = false;  // put in place, then the disk does not confirm it
    std::optional<int> failReadAt;   // 0-based index over all reads of the run
    std::optional<int> shortReadAt;  // that read delivers one byte less
    std::optional<int64_t> fakeSize; // what Size() reports
    bool failCreate = false;
    // Runs just before the commit, with the destination's path.
    std::function<void(const std::string&)> beforeCommit;
    // What the real destination's commit said, when one ran.
    std::optional<CommitOutcome> realCommit;

    int reads = 0;
    int64_t bytesRead = 0;
    int writes = 0;

    std::unique_ptr<SourceFile> OpenSource(const std::string& path) override {
        auto inner = SystemFiles().OpenSource(path);
        if (!inner)
            return nullptr;
        return std::make_unique<Source>(*this, std::move(inner));
    }

    std::unique_ptr<DestinationFile> CreateDestination(const std::string& path,
                                                       unsigned permissions) override {
        if (failCreate)
            return nullptr;
        auto inner = SystemFiles().CreateDestination(path, permissions);
        if (!inner)
            return nullptr;
        return std::make_unique<Destination>(*this, path, std::move(inner));
    }

    bool SameFile(const std::string& a, const std::string& b) override {
        return SystemFiles().SameFile(a, b);
    }

private:
    class Source : public SourceFile {
    public:
        Source(FaultyFiles& owner, std::unique_ptr<SourceFile> inner)
            : owner_(owner), inner_(std::move(inner)) {}
        bool Size(int64_t& size) override {
            if (owner_.fakeSize) {
                size = *owner_.fakeSize;
                return true;
            }
            return inner_->Size(size);
        }
        int64_t Read(void* buffer, std::size_t count) override {
            const int index = owner_.reads++;
            if (owner_.failReadAt == index)
                return -1;
            if (owner_.shortReadAt == index && count > 0)
                --count;
            const int64_t got = inner_->Read(buffer, count);
            if (got > 0)
                owner_.bytesRead += got;
            return got;
        }
        unsigned PermissionBits() override { return inner_->PermissionBits(); }
        FileIdentity OpenedAs() override { return inner_->OpenedAs(); }

    private:
        FaultyFiles& owner_;
        std::unique_ptr<SourceFile> inner_;
    };

    class Destination : public DestinationFile {
    public:
        Destination(FaultyFiles& owner, std::string path, std::unique_ptr<DestinationFile> inner)
            : owner_(owner), path_(std::move(path)), inner_(std::move(inner)) {}
        bool Write(const void* data, std::size_t count) override {
            if (Fails()) {
                if (owner_.halfOfFailedWrite)
                    inner_->Write(data, count / 2);
                return false;
            }
            return inner_->Write(data, count);
        }
        bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
            if (Fails()) {
                if (owner_.halfOfFailedWrite)
                    inner_->WriteAt(offset, data, count / 2);
                return false;
            }
            return inner_->WriteAt(offset, data, count);
        }
        CommitOutcome Commit(Existing existing) override {
            if (owner_.beforeCommit)
                owner_.beforeCommit(path_);
            if (owner_.failCommit)
                return CommitOutcome::Failed;
            owner_.realCommit = inner_->Commit(existing);
            if (owner_.unconfirmedCommit && *owner_.realCommit == CommitOutcome::Done)
                return CommitOutcome::Unconfirmed;
            return *owner_.realCommit;
        }

    private:
        bool Fails() { return owner_.failWriteAt == owner_.writes++; }

        FaultyFiles& owner_;
        std::string path_;
        std::unique_ptr<DestinationFile> inner_;
    };
};

} // namespace kelvane::testing_support
