#include "cli/Cli.h"

#include "cli/Actions.h"
#include "cli/Arguments.h"
#include "crypto/Crc32.h"
#include "crypto/CryptFile.h"
#include "crypto/Des.h"

#include <cstring>
#include <fstream>

namespace kelvane::cli {
namespace {

constexpr char kProgram[] = "kelvane-cli: ";

int UsageError(const CliEnvironment& env, const std::string& message) {
    env.err << kProgram << message << "\nTry 'kelvane-cli --help'.\n";
    return kExitUsage;
}

int PasswordError(const CliEnvironment& env, const std::string& message) {
    env.err << kProgram << message << '\n';
    return kExitUsage;
}

bool ReadPasswordFile(const CliEnvironment& env, const std::string& path, SecretText& entered,
                      std::string& problem) {
    if (path == "-") {
        if (!ReadFirstLine(env.in, entered))
            problem = "no password on standard input";
        return problem.empty();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file || !ReadFirstLine(file, entered))
        problem = "can't read the password file \"" + path + "\"";
    return problem.empty();
}

bool AskPassword(const CliEnvironment& env, bool twice, SecretText& entered, std::string& problem) {
    if (!env.prompter.Ask("Password: ", entered, problem))
        return false;
    if (!twice)
        return true;
    SecretText again;
    if (!env.prompter.Ask("Repeat password: ", again, problem))
        return false;
    if (again.Text() != entered.Text())
        problem = "the two passwords differ";
    return problem.empty();
}

bool ObtainPassword(const CliEnvironment& env, const CliOptions& options, SecretText& password,
                    std::string& problem) {
    SecretText entered;
    const bool twice = options.command == Command::Encrypt;
    const bool got = options.passwordFile
                         ? ReadPasswordFile(env, *options.passwordFile, entered, problem)
                         : AskPassword(env, twice, entered, problem);
    if (got)
        ToKeyPassword(entered, password, problem);
    return problem.empty();
}

int RunInfo(const CliEnvironment& env, const CliOptions& options) {
    bool allDone = true;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        if (i > 0)
            env.out << '\n';
        allDone = InfoOne(env.out, env.err, options.files[i]) && allDone;
    }
    return allDone ? kExitDone : kExitFailed;
}

bool RunOne(const ActionContext& ctx, const std::string& file) {
    switch (ctx.options.command) {
    case Command::Encrypt:
        return EncryptOne(ctx, file);
    case Command::Decrypt:
        return DecryptOne(ctx, file);
    case Command::Verify:
        return VerifyOne(ctx, file);
    default:
        return false;
    }
}

int RunWithPassword(const CliEnvironment& env, const CliOptions& options) {
    if (options.command == Command::Decrypt && !options.output) {
        for (const std::string& file : options.files) {
            if (!DecryptedNameOf(file))
                return UsageError(env, "\"" + file +
                                           "\" does not end in .cry; name the "
                                           "output with -o");
        }
    }
    SecretText password;
    std::string problem;
    if (!ObtainPassword(env, options, password, problem))
        return PasswordError(env, problem);
    const ActionContext ctx{options, password.Text(),   env.out,
                            env.err, env.errIsTerminal, env.letEventsRun};
    bool allDone = true;
    for (const std::string& file : options.files) {
        if (CancelRequested.load())
            return kExitFailed;
        allDone = RunOne(ctx, file) && allDone;
    }
    return allDone ? kExitDone : kExitFailed;
}

} // namespace

int RunCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.Ok())
        return UsageError(env, parsed.error);
    const CliOptions& options = parsed.options;
    switch (options.command) {
    case Command::Help:
        env.out << UsageText();
        return kExitDone;
    case Command::Version:
        env.out << "kelvane-cli " KELVANE_VERSION "\n";
        return kExitDone;
    case Command::Info:
        return RunInfo(env, options);
    default:
        return RunWithPassword(env, options);
    }
}

} // namespace kelvane::cli
