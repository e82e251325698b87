// The real file system with faults on demand: the n-th write fails (a full
// disk), a read comes up short or fails, the commit fails, or the size query
// lies. It also counts what was read.
#pragma once

#include "crypto/FileAccess.h"

#include <optional>

namespace kelvane::testing_support {

class FaultyFiles : public FileAccess {
public:
    std::optional<int> failWriteAt; // 0-based index over all writes of the run
    bool failCommit = false;
    std::optional<int> failReadAt;   // 0-based index over all reads of the run
    std::optional<int> shortReadAt;  // that read delivers one byte less
    std::optional<int64_t> fakeSize; // what Size() reports
    bool failCreate = false;

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
        return std::make_unique<Destination>(*this, std::move(inner));
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

    private:
        FaultyFiles& owner_;
        std::unique_ptr<SourceFile> inner_;
    };

    class Destination : public DestinationFile {
    public:
        Destination(FaultyFiles& owner, std::unique_ptr<DestinationFile> inner)
            : owner_(owner), inner_(std::move(inner)) {}
        bool Write(const void* data, std::size_t count) override {
            if (owner_.failWriteAt == owner_.writes++)
                return false;
            return inner_->Write(data, count);
        }
        bool WriteAt(uint64_t offset, const void* data, std::size_t count) override {
            if (owner_.failWriteAt == owner_.writes++)
                return false;
            return inner_->WriteAt(offset, data, count);
        }
        bool Commit() override { return !owner_.failCommit && inner_->Commit(); }

    private:
        FaultyFiles& owner_;
        std::unique_ptr<DestinationFile> inner_;
    };
};

} // namespace kelvane::testing_support
