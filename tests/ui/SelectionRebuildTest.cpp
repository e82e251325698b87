// SPDX-License-Identifier: GPL-3.0-or-later
// An Encrypt or Decrypt run on a selection rebuilds its lists once per turn
// of the event loop, not after every file: whenever the rebuild happens to
// run, the run must still reach every selected file exactly once and step
// over the ones it could not handle.
#include "SelectionFixture.h"
#include "ui/Controls.h"

#include <QAction>
#include <QApplication>
#include <set>

namespace kelvane {
namespace {

using testing_support::SelectionTest;

// Which files' dialogs let the window run its events, and so rebuild the
// lists, before answering.
struct RebuildCase {
    const char* label;
    std::set<int> rebuildAt; // 1-based dialog numbers
};

void PrintTo(const RebuildCase& rebuild, std::ostream* out) {
    *out << rebuild.label;
}

class SelectionRebuildTest : public SelectionTest,
                             public ::testing::WithParamInterface<RebuildCase> {
protected:
    // One dialog per file ("One password..." unticked); the dialog of the
    // `refused`th file is cancelled.
    void ExpectDialogs(int files, int refused) {
        for (int at = 1; at <= files; ++at) {
            const bool rebuild = GetParam().rebuildAt.count(at) != 0;
            dialogs.Expect("Encryption procedure", [at, refused, rebuild](TModalForm& form) {
                if (rebuild)
                    QApplication::processEvents();
                if (at == refused) {
                    form.SetModalResult(mrCancel);
                    return;
                }
                Encrypt->CheckBox1->setChecked(false);
                Encrypt->MaskEdit1->setText("secret1");
                Encrypt->MaskEdit2->setText("secret1");
                Encrypt->Button2->click();
            });
        }
    }
};

TEST_P(SelectionRebuildTest, EverySelectedFileIsReachedOnceWhenTheListsAreRebuilt) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt"});
    const int fullHeight = w.StringGrid1->height();
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 5);
    ExpectDialogs(5, 3);
    messages.Expect(StopRunQuestion("c.txt"), mrNo);
    w.Encrypt1->trigger();

    EXPECT_EQ(dialogs.Shown().size(), 5u);
    for (const char* name : {"a.txt", "b.txt", "d.txt", "e.txt"}) {
        EXPECT_FALSE(Exists(name)) << name;
        EXPECT_TRUE(Exists(std::string(name) + ".cry")) << name;
    }
    // The refused file and the one below the selection are untouched.
    EXPECT_TRUE(Exists("c.txt"));
    EXPECT_FALSE(Exists("c.txt.cry"));
    EXPECT_TRUE(Exists("f.txt"));
    EXPECT_FALSE(Exists("f.txt.cry"));

    // Once the run is over the grids show the folder as it is, with the
    // progress panel gone.
    EXPECT_EQ(w.StringGrid1->RowCount(), 3);
    EXPECT_EQ(w.StringGrid1->Cells(0, 1), "c.txt");
    EXPECT_EQ(w.StringGrid1->Cells(0, 2), "f.txt");
    EXPECT_EQ(w.StringGrid2->RowCount(), 5);
    EXPECT_EQ(w.StringGrid1->height(), fullHeight);
    EXPECT_FALSE(w.ProgressBar1->isVisible());
    EXPECT_FALSE(w.CoalesceRefresh);
}

INSTANTIATE_TEST_SUITE_P(
    RebuildMoments, SelectionRebuildTest,
    ::testing::Values(RebuildCase{"Never", {}}, RebuildCase{"BeforeTheSecond", {2}},
                      RebuildCase{"BeforeTheRefused", {3}}, RebuildCase{"AfterTheRefused", {4}},
                      RebuildCase{"Always", {1, 2, 3, 4, 5}}),
    [](const ::testing::TestParamInfo<RebuildCase>& tested) { return tested.param.label; });

using SelectionRebuildRunTest = SelectionTest;

TEST_F(SelectionRebuildRunTest, ADecryptRunStepsOverALockedFileWithRebuildsBetween) {
    TMainWin& w = OpenWithFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    OnePerList = 1;
    SelectRows(*w.StringGrid1, 1, 4);
    ExpectEncryptDialog("secret1");
    w.Encrypt1->trigger();
    ASSERT_EQ(w.StringGrid2->RowCount(), 5);

    // b.txt already back in the plain list: its decryption is refused.
    WriteText("b.txt", "newer");
    w.RefreshLists();
    SelectRows(*w.StringGrid2, 1, 4);
    int asked = 0;
    dialogs.Expect("Decryption procedure", [&asked](TModalForm&) {
        ++asked;
        Decrypt->MaskEdit1->setText("secret1");
        Decrypt->Button2->click();
    });
    messages.Expect(
        "File \"b.txt\" is already exist in the file list for not encrypted files. Overwrite one?",
        mrCancel);
    w.Decrypt1->trigger();
    QApplication::processEvents();

    EXPECT_EQ(asked, 1);
    for (const char* name : {"a.txt", "c.txt", "d.txt"})
        EXPECT_FALSE(Exists(std::string(name) + ".cry")) << name;
    EXPECT_TRUE(Exists("b.txt.cry"));
    EXPECT_EQ(w.StringGrid2->RowCount(), 2);
    EXPECT_EQ(w.StringGrid2->Cells(0, 1), "b.txt");
}

} // namespace
} // namespace kelvane
