// SPDX-License-Identifier: GPL-3.0-or-later
// How long RefreshLists takes for a directory of n files: it re-reads the
// directory and every file's information each time, and the commands call it
// after every file they change.
//   build/bin/refresh_lists_bench [--benchmark_filter=...]
#include "commands/Settings.h"
#include "support/MemoryRegistry.h"
#include "ui/MainWindow.h"
#include "ui/StringGrid.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {

using kelvane::testing_support::MemoryRegistry;

// One directory per size, made once per run: three plain files to one
// crypted, names of the usual length.
std::string DirectoryOf(int files) {
    static std::map<int, std::string> made;
    if (auto it = made.find(files); it != made.end())
        return it->second;
    const auto path = std::filesystem::temp_directory_path() /
                      ("kelvane-bench-" + std::to_string(::getpid()) + "-" + std::to_string(files));
    std::filesystem::create_directories(path);
    for (int i = 0; i < files; ++i) {
        const std::string name =
            "document-" + std::to_string(i) + (i % 4 == 3 ? ".txt.cry" : ".txt");
        std::ofstream(path / name) << "some text";
    }
    made[files] = path.string();
    return path.string();
}

void RemoveDirectories() {
    for (int files : {1000, 10000, 100000}) {
        std::error_code ignored;
        std::filesystem::remove_all(
            std::filesystem::temp_directory_path() /
                ("kelvane-bench-" + std::to_string(::getpid()) + "-" + std::to_string(files)),
            ignored);
    }
}

// The rebuild alone, and the rebuild with both grids drawn afterwards, which
// reads the information of the rows on screen.
void Refresh(benchmark::State& state, bool draw) {
    const int files = static_cast<int>(state.range(0));
    std::filesystem::current_path(DirectoryOf(files));
    kelvane::TMainWin window(kelvane::SystemDrives(),
                             std::make_unique<MemoryRegistry>(MemoryRegistry::Installed()));
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.RefreshLists();
        if (draw) {
            benchmark::DoNotOptimize(window.StringGrid1->grab());
            benchmark::DoNotOptimize(window.StringGrid2->grab());
        }
    }
    state.SetComplexityN(files);
}

void BM_RefreshLists(benchmark::State& state) {
    Refresh(state, false);
}
void BM_RefreshListsAndDraw(benchmark::State& state) {
    Refresh(state, true);
}

BENCHMARK(BM_RefreshLists)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_RefreshListsAndDraw)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path start = std::filesystem::current_path();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::current_path(start);
    RemoveDirectories();
    return 0;
}
