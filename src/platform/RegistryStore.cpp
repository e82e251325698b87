// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryStore.h"

#include "platform/HomeDirectory.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

// ---- places ----------------------------------------------------------------

std::string ExecutableDirectory() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return DirectoryPart(std::string_view(buffer, static_cast<std::size_t>(length)));
}

std::string ConfigDirectory() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return config;
    const std::string home = HomeDirectory();
    return home.empty() ? std::string() : JoinPath(home, ".config");
}

} // namespace

// ---- files -----------------------------------------------------------------

RegistryFile ReadRegistryFile(const std::string& path) {
    RegistryFile file;
    if (path.empty())
        return file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        file.mayReplace = errno == ENOENT;
        return file;
    }
    std::string text;
    struct stat st {};
    bool whole = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                 static_cast<uint64_t>(st.st_size) <= kMaxRegistryFileBytes;
    if (whole) {
        // Read to the end, not to the size: the file may grow meanwhile. The
        // room grows with what comes, up to one byte past the limit: clearing
        // the whole limit up front cost every start of the window 16 MiB of
        // writes per settings file.
        constexpr std::size_t kPastLimit = kMaxRegistryFileBytes + 1;
        text.resize(std::min<std::size_t>(static_cast<std::size_t>(st.st_size) + 4096, kPastLimit));
        std::size_t length = 0;
        ssize_t got = 0;
        while (length < kPastLimit) {
            if (length == text.size())
                text.resize(std::min(text.size() * 2, kPastLimit));
            got = ::read(fd, text.data() + length, text.size() - length);
            if (got == 0 || (got < 0 && errno != EINTR))
                break;
            if (got > 0)
                length += static_cast<std::size_t>(got);
        }
        whole = got >= 0 && length <= kMaxRegistryFileBytes;
        text.resize(whole ? length : 0);
    }
    ::close(fd);
    file.document = RegistryDocument::Parse(text);
    file.mayReplace = whole && file.document.IsRegistryText() && file.document.Serialize() == text;
    return file;
}

RegistryDocument LoadRegistryDocument(const std::string& path) {
    return ReadRegistryFile(path).document;
}

bool SaveRegistryDocument(const std::string& path, const RegistryDocument& document,
                          FileAccess& files) {
    // Settings kept in a folder of links (dotfiles) stay where the link leads.
    std::error_code error;
    struct stat st {};
    const bool link = ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    const std::string target = link ? std::filesystem::canonical(path, error).string() : path;
    if (error || target.empty())
        return false;
    const std::string directory = DirectoryPart(target);
    if (!directory.empty())
        std::filesystem::create_directories(directory, error);
    if (error)
        return false;
    // Preferences are nobody else's business.
    std::unique_ptr<DestinationFile> file = files.CreateDestination(target, 0600);
    if (!file)
        return false;
    const std::string text = document.Serialize();
    return file->Write(text.data(), text.size()) && file->Commit();
}

RegistryPaths DefaultRegistryPaths() {
    RegistryPaths paths;
    const char* system = std::getenv("KELVANE_SYSTEM_REGISTRY");
    if (system != nullptr && system[0] != '\0') {
        paths.system = system;
    } else {
        const std::string exeDirectory = ExecutableDirectory();
        if (!exeDirectory.empty())
            paths.system = std::filesystem::path(exeDirectory + "../share/kelvane/kelvane.reg")
                               .lexically_normal()
                               .string();
    }
    const std::string config = ConfigDirectory();
    if (!config.empty())
        paths.user = JoinPath(config, "kelvane/registry.reg");
    return paths;
}

// ---- LayeredRegistry -------------------------------------------------------

LayeredRegistry::LayeredRegistry(RegistryPaths paths, FileAccess& files)
    : paths_(std::move(paths)), files_(files), system_(LoadRegistryDocument(paths_.system)) {
    RegistryFile user = ReadRegistryFile(paths_.user);
    user_ = std::move(user.document);
    userMayReplace_ = user.mayReplace;
}

bool LayeredRegistry::OpenKey(const std::string& path) {
    const bool absolute = !path.empty() && path[0] == '\\';
    const std::string base = absolute || !openKey_ ? std::string() : *openKey_ + "\\";
    const std::string wanted = NormalizeKeyPath(base + path);
    if (system_.HasKey(wanted) || user_.HasKey(wanted))
        openKey_ = wanted;
    else
        openKey_.reset();
    return openKey_.has_value();
}

void LayeredRegistry::CloseKey() {
    openKey_.reset();
}

const RegValue* LayeredRegistry::Lookup(const std::string& name) const {
    if (!openKey_)
        return nullptr;
    const RegValue* value = user_.Find(*openKey_, name);
    return value != nullptr ? value : system_.Find(*openKey_, name);
}

RegDataType LayeredRegistry::GetDataType(const std::string& name) const {
    const RegValue* value = Lookup(name);
    return value != nullptr ? value->type : RegDataType::None;
}

std::optional<std::string> LayeredRegistry::ReadString(const std::string& name) const {
    const RegValue* value = Lookup(name);
    if (value == nullptr ||
        (value->type != RegDataType::String && value->type != RegDataType::ExpandString))
        return std::nullopt;
    return value->text;
}

std::optional<int32_t> LayeredRegistry::ReadInteger(const std::string& name) const {
    const RegValue* value = Lookup(name);
    if (value == nullptr || value->type != RegDataType::Integer)
        return std::nullopt;
    return static_cast<int32_t>(value->number);
}

bool LayeredRegistry::WriteInteger(const std::string& name, int32_t number) {
    if (!openKey_ || paths_.user.empty())
        return false;
    const RegValue value = RegValue::Integer(static_cast<uint32_t>(number));
    // Compared with what this accessor read and wrote, not with the file as
    // it is now.
    const RegValue* current = Lookup(name);
    if (current != nullptr && *current == value)
        return true; // the user's file is left alone when nothing changes
    if (!userMayReplace_)
        return false;
    // Start from the file as it is now, so another run's values survive.
    RegistryFile user = ReadRegistryFile(paths_.user);
    userMayReplace_ = user.mayReplace;
    if (!userMayReplace_)
        return false;
    user.document.Set(*openKey_, name, value);
    if (!SaveRegistryDocument(paths_.user, user.document, files_))
        return false;
    // Only the value written joins this accessor's view. Taking the whole
    // file in would make every value another run changed look changed by
    // this one at its next write, which would then put the old value back.
    user_.Set(*openKey_, name, value);
    return true;
}

std::string LayeredRegistry::UnreadableFile() const {
    return userMayReplace_ ? std::string() : paths_.user;
}

std::unique_ptr<Registry> OpenClassesRoot() {
    return std::make_unique<LayeredRegistry>(DefaultRegistryPaths());
}

} // namespace kelvane
