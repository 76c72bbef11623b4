// The commands of hbxctl and what they share.
#pragma once

#include <string>
#include <vector>

namespace hbxctl {

using Args = std::vector<std::string>;   // the arguments after the command's name, UTF-8

/// Exit status of a usage error or a refused path.
constexpr int usage_status = 2;

/// Reports a usage error on stderr and gives its status.
int usage(const std::string& message);

/// Turns a path argument into an engine path: an argument that starts with a drive letter and
/// a colon is one already; any other is a native path (relative to the working directory).
/// False, with the message printed on stderr, when the path is refused.
bool engine_argument(const std::string& argument, std::u16string& engine);

// Read-only commands.
int volumes(const Args& args);
int hash(const Args& args);
int classify(const Args& args);
int resolve(const Args& args);
int stub_target(const Args& args);
int vault_location(const Args& args);
int unique_name(const Args& args);

// The icon of an item.
int icon(const Args& args);

// Commands that change the vault or ask for the password.
int list(const Args& args);
int password(const Args& args);
int lock(const Args& args);
int unlock(const Args& args);
int open(const Args& args);
int relock_pending(const Args& args);
int remove_empty_vaults(const Args& args);

}  // namespace hbxctl
