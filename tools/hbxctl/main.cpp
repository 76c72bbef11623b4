// hbxctl: the lock engine on the command line. One JSON object per line on stdout; every path
// in engine form, and on Linux each path key followed by its native form.
#include "command.h"

#include "text.h"

#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(const hbxctl::Args&);
    const char* synopsis;
};

const Command commands[] = {
    {"volumes", hbxctl::volumes, "volumes"},
    {"hash", hbxctl::hash, "hash TEXT"},
    {"classify", hbxctl::classify, "classify PATH"},
    {"resolve", hbxctl::resolve, "resolve PATH"},
    {"stub-target", hbxctl::stub_target, "stub-target PATH"},
    {"vault-location", hbxctl::vault_location, "vault-location PATH"},
    {"unique-name", hbxctl::unique_name, "unique-name PATH"},
    {"icon", hbxctl::icon, "icon PATH [--large]"},
    {"list", hbxctl::list, "list"},
    {"password", hbxctl::password, "password status|set|check [VOLUME]"},
    {"lock", hbxctl::lock, "lock PATH [--hide]"},
    {"unlock", hbxctl::unlock, "unlock PATH"},
    {"open", hbxctl::open, "open PATH"},
    {"relock-pending", hbxctl::relock_pending, "relock-pending"},
    {"remove-empty-vaults", hbxctl::remove_empty_vaults, "remove-empty-vaults"},
};

int help(std::FILE* out) {
    std::fprintf(out, "usage: hbxctl COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const auto& c : commands) std::fprintf(out, "  %s\n", c.synopsis);
    std::fprintf(out,
                 "\nA PATH that starts with a drive letter and a colon is an engine path; on Linux\n"
                 "any other PATH is a native path, turned into one through the volume map.\n"
                 "Passwords are read from standard input, one per line.\n");
    return out == stdout ? 0 : hbxctl::usage_status;
}

int run(const std::vector<std::string>& argv) {
    if (argv.empty()) return help(stderr);
    if (argv[0] == "-h" || argv[0] == "--help" || argv[0] == "help") return help(stdout);
    for (const auto& c : commands) {
        if (argv[0] == c.name) return c.run(hbxctl::Args(argv.begin() + 1, argv.end()));
    }
    std::fprintf(stderr, "hbxctl: unknown command \"%s\"\n", argv[0].c_str());
    return help(stderr);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(hbx::to_utf8(std::u16string(reinterpret_cast<const char16_t*>(argv[i]))));
    }
    return run(args);
}
#else
int main(int argc, char** argv) { return run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
