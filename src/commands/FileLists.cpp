// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FileLists.h"

#include "commands/FileListBox.h"
#include "crypto/CryptNames.h"

#include <algorithm>

namespace kelvane {

SplitLists SplitByExtension(std::vector<std::string> names, bool showCry) {
    SplitLists lists;
    for (std::string& name : names) {
        ListedFile file;
        if (HasCryExtension(name)) {
            file.Name = ListedCryptedName(name, showCry);
            // The file as it is on disk, whatever the case of its extension.
            file.FileName = std::move(name);
            lists.Crypted.push_back(std::move(file));
        } else {
            file.Name = name;
            file.FileName = std::move(name);
            lists.Plain.push_back(std::move(file));
        }
    }
    return lists;
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
