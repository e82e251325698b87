// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileLists.h"

#include "commands/FileListBox.h"
#include "crypto/CryptNames.h"

#include <algorithm>

namespace kelvane {

SplitLists SplitByExtension(const std::vector<std::string>& names, bool showCry) {
    SplitLists lists;
    SplitByExtension(
        names, showCry,
        [&](const std::string& name) {
            lists.Plain.push_back({name, name});
        },
        [&](const std::string& name, std::string shown) {
            lists.Crypted.push_back({std::move(shown), name});
        });
    return lists;
}

void SplitByExtension(
    const std::vector<std::string>& names, bool showCry,
    const std::function<void(const std::string& name)>& plain,
    const std::function<void(const std::string& name, std::string shown)>& crypted) {
    for (const std::string& name : names) {
        if (HasCryExtension(name))
            // The file as it is on disk, whatever the case of its extension.
            crypted(name, ListedCryptedName(name, showCry));
        else
            plain(name);
    }
}

const ListedFile* FindFileNamed(const std::vector<ListedFile>& files, const std::string& fileName) {
    const auto it = std::find_if(files.begin(), files.end(),
                                 [&](const ListedFile& f) { return f.FileName == fileName; });
    return it != files.end() ? &*it : nullptr;
}

const ListedFile* FindShown(const std::vector<ListedFile>& files, const std::string& name) {
    auto it = std::find_if(files.begin(), files.end(),
                           [&](const ListedFile& f) { return f.Name == name; });
    if (it == files.end())
        it = std::find_if(files.begin(), files.end(),
                          [&](const ListedFile& f) { return SameNameIgnoringCase(f.Name, name); });
    return it != files.end() ? &*it : nullptr;
}

} // namespace kelvane
