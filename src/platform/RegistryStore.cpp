#include "platform/RegistryStore.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace kelvane {
namespace {

// Far beyond any registry file of ours; a bigger one is not ours to read.
constexpr std::size_t kMaxFileBytes = 1 << 20;

// ---- places ----------------------------------------------------------------

std::string ExecutableDirectory() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return DirectoryPart(std::string_view(buffer, static_cast<std::size_t>(length)));
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
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

RegistryDocument LoadRegistryDocument(const std::string& path) {
    if (path.empty())
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    const auto length = static_cast<std::size_t>(in.gcount());
    if (length > kMaxFileBytes || in.bad())
        return {};
    text.resize(length);
    return RegistryDocument::Parse(text);
}

bool SaveRegistryDocument(const std::string& path, const RegistryDocument& document,
                          FileAccess& files) {
    const std::string directory = DirectoryPart(path);
    std::error_code error;
    if (!directory.empty())
        std::filesystem::create_directories(directory, error);
    if (error)
        return false;
    // Preferences are nobody else's business.
    std::unique_ptr<DestinationFile> file = files.CreateDestination(path, 0600);
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
    : paths_(std::move(paths)), files_(files), system_(LoadRegistryDocument(paths_.system)),
      user_(LoadRegistryDocument(paths_.user)) {}

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
    const RegValue* current = Lookup(name);
    if (current != nullptr && *current == value)
        return true; // the user's file is left alone when nothing changes
    // Start from the file as it is now, so another run's values survive.
    RegistryDocument user = LoadRegistryDocument(paths_.user);
    user.Set(*openKey_, name, value);
    if (!SaveRegistryDocument(paths_.user, user, files_))
        return false;
    user_ = std::move(user);
    return true;
}

std::unique_ptr<Registry> OpenClassesRoot() {
    return std::make_unique<LayeredRegistry>(DefaultRegistryPaths());
}

} // namespace kelvane
