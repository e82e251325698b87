// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/SelectionCommands.h"

#include "commands/Settings.h"
#include "commands/State.h"
#include "crypto/Translate.h"
#include "platform/FileDeletion.h"
#include "platform/MessageSeam.h"

namespace kelvane {
namespace {

// Both runs are one loop; the grid decides the command and the list that
// tells whether a row's file is still there.
void RunSelection(SelectionHost& host, FileGrid grid, const AgeTargetSource* convertTo = nullptr) {
    // The first file's password serves the later ones while the list box is
    // ticked; it goes when the run ends.
    const DurableRemovals durable;
    const PasswordUse use;
    if (Busy()) {
        host.SetStatus(Tr("Status", kWaitTillFinished));
        return;
    }
    const RowSpan span = host.SelectedRows(grid);
    const int count = span.Bottom - span.Top + 1;
    // One password for the list is offered only for a real list, and never
    // when one password serves the whole session anyway.
    FirstOfList = !(OnePassword > 0) && count > 1;
    RunOfFiles = count > 1;
    SelectionBusy = true;
    host.SetRunningSelection(grid, true);

    int row = span.Top;
    for (int done = 0; done < count;) {
        if (done > 0) {
            // A click on "Cancel process" between two files stops before
            // the next.
            host.LetEventsRun();
            if (CancelRequested)
                break;
        }
        // A row the grid no longer has: the files after it have gone
        // meanwhile, there is nothing left to do.
        if (row >= host.RowCount(grid))
            break;
        // Read afresh: every file handled changes the list.
        const std::string name = host.ShownName(grid, row);
        SelectionBusy = false; // the single-file commands refuse while any command is busy
        if (grid == FileGrid::Plain)
            EncryptOneFile(host, name);
        else if (convertTo != nullptr)
            ConvertOneFile(host, name, host.FileNameOf(grid, row), *convertTo);
        else
            DecryptOneFile(host, name);
        SelectionBusy = true;
        FirstOfList = false;
        // A file still listed was not handled and keeps its row; otherwise
        // the next file of the selection has moved up into it.
        const bool stillListed =
            grid == FileGrid::Plain ? host.InPlainList(name) : host.InCryptedList(name);
        if (stillListed)
            ++row;
        ++done;
    }

    FirstOfList = false;
    RunOfFiles = false;
    host.SetRunningSelection(grid, false);
    SelectionBusy = false;
    host.UntickOneForList(grid);
    CancelRequested = false;
    host.RefreshLists();
}

enum class DeleteStep { Deleted, Skipped, Failed };

// The read-only question and the deletion of one file. Unlinking needs no
// permission on the file itself, so its mode is never touched: a file with
// another name keeps its read-only mode there.
DeleteStep DeleteOneFile(SelectionHost& host, const std::string& shown,
                         const std::string& fileName) {
    const HeldAttributes held = ReadEntryAttributes(fileName);
    // Asked for every read-only file, after "Delete All" too.
    if (held.Has(faReadOnly) &&
        ShowConfirmation(DeleteReadOnlyText(shown), mbOK | mbCancel) != mrOk)
        return DeleteStep::Skipped;
    if (!DeleteFileEntry(fileName)) {
        ShowError(CouldNotDeleteText(shown));
        return DeleteStep::Failed;
    }
    host.RefreshLists();
    return DeleteStep::Deleted;
}

} // namespace

std::string CouldNotDeleteText(const std::string& shownName) {
    return FormatText(Tr("SelectionCommands", "Couldn't delete file \"%1\"."), {shownName});
}

std::string DeleteReadOnlyText(const std::string& shownName) {
    return FormatText(Tr("SelectionCommands", "File \"%1\" is marked as read only.Proceed?"),
                      {shownName});
}

void EncryptSelection(SelectionHost& host) {
    RunSelection(host, FileGrid::Plain);
}

void DecryptSelection(SelectionHost& host) {
    RunSelection(host, FileGrid::Crypted);
}

void ConvertSelection(SelectionHost& host, const AgeTargetSource& target) {
    RunSelection(host, FileGrid::Crypted, &target);
}

void DeleteSelection(SelectionHost& host, FileGrid grid) {
    if (Busy()) {
        host.SetStatus(Tr("Status", kWaitTillFinished));
        return;
    }
    const RowSpan span = host.SelectedRows(grid);
    int row = span.Top;
    int remaining = span.Bottom - span.Top + 1;
    bool deleteAll = false;
    DeleteBusy = true;

    while (remaining > 0 && row < host.RowCount(grid)) {
        // Read afresh: every deletion rebuilds the grid.
        const std::string shown = host.ShownName(grid, row);
        const std::string fileName = host.FileNameOf(grid, row);
        int answer = deleteAll ? mrOk : host.AskDelete(shown);
        if (answer == mrAbort)
            break;
        if (answer == mrAll) {
            deleteAll = true;
            answer = mrOk;
        }
        const DeleteStep step =
            answer == mrOk ? DeleteOneFile(host, shown, fileName) : DeleteStep::Skipped;
        // A deleted file's row now holds the next file.
        if (step != DeleteStep::Deleted)
            ++row;
        --remaining;
        // A cancel is looked at only once something was tried on disk.
        if (step != DeleteStep::Skipped && CancelRequested)
            break;
    }

    CancelRequested = false;
    DeleteBusy = false;
    host.RefreshLists();
}

} // namespace kelvane
