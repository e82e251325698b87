// SPDX-License-Identifier: GPL-3.0-or-later
// GIO stays in this file: its headers clash with Qt's keywords, so nothing
// here may include a Qt header.
#include "platform/ShellLaunch.h"

#include <cerrno>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <map>
#include <set>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kelvane {
namespace {

// What the program knows of the processes it started, in one place.
struct Launches {
    // Processes that ended and were reaped, with their exit codes: a second
    // question about the same process must not read "not ours".
    std::map<int64_t, int> ended;
    std::set<pid_t> detached;
    // What a process wrote to its standard error, kept until it is asked for.
    std::map<int64_t, int> captured;
};

Launches& TheLaunches() {
    static Launches launches;
    return launches;
}

void PidStarted(GDesktopAppInfo*, GPid pid, gpointer data) {
    *static_cast<GPid*>(data) = pid;
}

// The default application of the file's type, as the file managers find it.
GAppInfo* DefaultApplicationFor(GFile* file) {
    GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    if (info == nullptr)
        return nullptr;
    GAppInfo* application = nullptr;
    if (const char* type = g_file_info_get_content_type(info))
        application = g_app_info_get_default_for_type(type, FALSE);
    g_object_unref(info);
    return application;
}

ShellLaunchResult OpenWithDefaultApplication(const std::string& path) {
    GFile* file = g_file_new_for_path(path.c_str());
    GAppInfo* application = DefaultApplicationFor(file);
    ShellLaunchResult result;
    if (application != nullptr && G_IS_DESKTOP_APP_INFO(application)) {
        char* uri = g_file_get_uri(file);
        GList uris{uri, nullptr, nullptr};
        GPid pid = 0;
        // We reap the child ourselves: its exit is what the watch waits for.
        result.launched =
            g_desktop_app_info_launch_uris_as_manager(
                G_DESKTOP_APP_INFO(application), &uris, nullptr,
                static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
                nullptr, PidStarted, &pid, nullptr) != FALSE;
        result.process = result.launched ? pid : 0;
        g_free(uri);
    }
    if (application != nullptr)
        g_object_unref(application);
    g_object_unref(file);
    return result;
}

ShellLaunchResult PrintWithSpooler(const std::string& path) {
    std::string program = "lp";
    // "--" keeps a file named like an option a file.
    std::string separator = "--";
    std::string file = path;
    char* argv[] = {program.data(), separator.data(), file.data(), nullptr};
    // `lp` says why it failed ("no default destination") on its standard
    // error only, which nobody sees under a desktop: keep it for the user.
    const int errors = ::memfd_create("lp-errors", MFD_CLOEXEC);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (errors >= 0)
        ::posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    pid_t pid = 0;
    const bool started = ::posix_spawnp(&pid, "lp", &actions, nullptr, argv, environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    if (!started || errors < 0) {
        if (errors >= 0)
            ::close(errors);
        return {started, started ? pid : 0};
    }
    TheLaunches().captured[pid] = errors;
    return {true, pid};
}

} // namespace

ShellLaunchResult ShellLaunch(const std::string& verb, const std::string& file) {
    ReapDetachedProcesses();
    if (file.empty())
        return {};
    ShellLaunchResult result;
    if (verb == "open")
        result = OpenWithDefaultApplication(file);
    else if (verb == "print")
        result = PrintWithSpooler(file);
    // A number reaped earlier may come back for a new process.
    TheLaunches().ended.erase(result.process);
    return result;
}

bool ShellLaunchDetached(const std::string& verb, const std::string& file) {
    const ShellLaunchResult result = ShellLaunch(verb, file);
    if (result.process > 0)
        TheLaunches().detached.insert(static_cast<pid_t>(result.process));
    return result.launched;
}

std::optional<int> ProcessExitCode(int64_t process) {
    if (process <= 0)
        return std::nullopt;
    const auto ended = TheLaunches().ended.find(process);
    if (ended != TheLaunches().ended.end())
        return ended->second;
    int status = 0;
    const pid_t answer = ::waitpid(static_cast<pid_t>(process), &status, WNOHANG);
    if (answer == 0)
        return kStillActive;
    if (answer < 0)
        return std::nullopt;
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    TheLaunches().ended[process] = code;
    return code;
}

std::optional<std::string> ErrorOutputOf(int64_t process) {
    const auto captured = TheLaunches().captured.find(process);
    if (captured == TheLaunches().captured.end())
        return std::nullopt;
    const int fd = captured->second;
    TheLaunches().captured.erase(captured);
    std::string text(4096, '\0');
    const ssize_t length = ::pread(fd, text.data(), text.size(), 0);
    ::close(fd);
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

void ReapDetachedProcesses() {
    std::set<pid_t>& detached = TheLaunches().detached;
    for (auto it = detached.begin(); it != detached.end();) {
        int status = 0;
        const pid_t answer = ::waitpid(*it, &status, WNOHANG);
        if (answer == 0 || (answer < 0 && errno == EINTR)) {
            ++it;
        } else {
            ErrorOutputOf(*it); // nobody waits for it: let its capture go
            it = detached.erase(it);
        }
    }
}

} // namespace kelvane
