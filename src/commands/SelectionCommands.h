// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on a grid's selection: encrypt or decrypt every selected row
// with one password or one each, and delete every selected row's file after
// asking for each.
#pragma once

#include "commands/FileCommands.h"

#include <string>

namespace kelvane {

// What the selection commands need of the main window besides what the
// single-file commands need.
class SelectionHost : public CommandHost {
public:
    virtual RowSpan SelectedRows(FileGrid grid) const = 0;
    // Rows including the heading row.
    virtual int RowCount(FileGrid grid) const = 0;
    // The text of the Name column.
    virtual std::string ShownName(FileGrid grid, int row) const = 0;
    // The file on disk behind the row; empty for the "[no files]" row, which
    // names no file.
    virtual std::string FileNameOf(FileGrid grid, int row) const = 0;
    // Unticks "One password for a file list" in the dialog of that grid's
    // command, so the next single file asks again.
    virtual void UntickOneForList(FileGrid grid) = 0;
    // Asks whether to delete the file shown as `shownName`: mrOk, mrCancel,
    // mrAll ("Delete &All") or mrAbort ("Ca&ncel All").
    virtual int AskDelete(const std::string& shownName) = 0;
    // Called before the first and after the last file of an Encrypt or
    // Decrypt run on the grid's selection. While it runs, a host may put off
    // rebuilding its lists, as long as RowCount, ShownName and the
    // InPlainList/InCryptedList answer after each file still tell the lists
    // as a rebuild would show them.
    virtual void SetRunningSelection(FileGrid /*grid*/, bool /*running*/) {}
    // Between two files of a run: lets pending window events run, so that
    // "Cancel process" answers and the window repaints.
    virtual void LetEventsRun() {}
};

// Encrypts the selected rows of the plain grid, one file after another.
void EncryptSelection(SelectionHost& host);
// Decrypts the selected rows of the crypted grid.
void DecryptSelection(SelectionHost& host);
// Converts the selected rows of the crypted grid to age files.
void ConvertSelection(SelectionHost& host, const AgeTargetSource& target);
// Deletes the files of the grid's selected rows, each after its question.
void DeleteSelection(SelectionHost& host, FileGrid grid);

std::string CouldNotDeleteText(const std::string& shownName);
std::string DeleteReadOnlyText(const std::string& shownName);

} // namespace kelvane
