// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/Settings.h"

#include "crypto/Translate.h"
#include "platform/MessageSeam.h"
#include "platform/Paths.h"

#include <array>

namespace kelvane {

namespace {

constexpr const char* kDefaultIconKey = "\\crypt file\\DefaultIcon";
constexpr const char* kOptionsKey = "\\crypt file\\Settings\\Options";

struct Option {
    const char* name;
    int32_t* value;
    int32_t* saved; // as loaded or last saved
};

// A missing key or value only means "no directory"; a value of the wrong
// type is a broken installation.
bool LoadHelpFile(Registry& registry) {
    std::string icon;
    if (registry.OpenKey(kDefaultIconKey)) {
        const RegDataType type = registry.GetDataType("");
        if (type == RegDataType::String || type == RegDataType::ExpandString)
            icon = registry.ReadString("").value_or("");
        else if (type != RegDataType::None)
            return false;
    }
    HelpFile = HelpFileFor(icon);
    return true;
}

// Stops at the first value that is missing or not an integer; the ones read
// before it keep their loaded values.
bool LoadOptions(Registry& registry) {
    if (!registry.OpenKey(kOptionsKey))
        return false;
    auto& saved = TheSharedState.SavedPreferences;
    const std::array<Option, 4> order{{{"OnePassword", &OnePassword, &saved.OnePassword},
                                       {"OnePerList", &OnePerList, &saved.OnePerList},
                                       {"ShowCry", &ShowCry, &saved.ShowCry},
                                       {"Expire", &Expire, &saved.Expire}}};
    for (const Option& option : order) {
        const std::optional<int32_t> value = registry.ReadInteger(option.name);
        if (!value)
            return false;
        *option.value = *option.saved = *value;
    }
    return true;
}

// Said once per run, at the start or at the first save that meets it.
void TellWhenChangesAreNotKept(const Registry& registry) {
    const std::string file = registry.UnreadableFile();
    if (file.empty() || TheSharedState.toldSettingsKept)
        return;
    TheSharedState.toldSettingsKept = true;
    ShowInformation(SettingsNotKeptMessage(file));
}

} // namespace

std::string SettingsNotKeptMessage(const std::string& file) {
    return FormatText(Tr("Settings", "The settings file %1 could not be read in full, so it is "
                                     "left as it is. Changes to the preferences last until the "
                                     "program ends."),
                      {file});
}

std::unique_ptr<Registry> LoadSettings() {
    std::unique_ptr<Registry> registry = OpenClassesRoot();
    LoadSettings(*registry);
    return registry;
}

void LoadSettings(Registry& registry) {
    if (!LoadHelpFile(registry) || !LoadOptions(registry))
        ShowError(Tr("Settings", kNotInstalledMessage));
    TellWhenChangesAreNotKept(registry);
}

void SaveSettings(Registry& registry) {
    // The key belongs to the installation; without it there is nowhere to save.
    if (!registry.OpenKey(kOptionsKey))
        return;
    // Only what this run changed: another window may have saved its own
    // changes since this one loaded, and an unchanged value stays as the
    // store holds it now.
    auto& saved = TheSharedState.SavedPreferences;
    const std::array<Option, 4> order{{{"Expire", &Expire, &saved.Expire},
                                       {"OnePerList", &OnePerList, &saved.OnePerList},
                                       {"OnePassword", &OnePassword, &saved.OnePassword},
                                       {"ShowCry", &ShowCry, &saved.ShowCry}}};
    for (const Option& option : order) {
        if (*option.value == *option.saved)
            continue;
        if (!registry.WriteInteger(option.name, *option.value))
            break;
        *option.saved = *option.value;
    }
    registry.CloseKey();
    TellWhenChangesAreNotKept(registry);
}

std::string HelpFileFor(const std::string& defaultIcon) {
    // A POSIX path has its directory up to the last "/"; a Windows one up to
    // the last backslash or drive colon.
    const bool posix = defaultIcon.find('/') != std::string::npos;
    const std::size_t end = posix ? defaultIcon.rfind('/') : defaultIcon.find_last_of("\\:");
    const std::string directory =
        end == std::string::npos ? std::string() : defaultIcon.substr(0, end + 1);
    return directory + kHelpFileName;
}

} // namespace kelvane
