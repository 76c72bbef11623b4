// What a run of the program does, chosen from its first argument and the engine's answers about
// a path. The choice is a pure function so that every row of the decision can be tested with
// plain values; ask_engine() is the thin step that gathers the answers for a real path.
#pragma once

#include <optional>
#include <string>

namespace hbx::app {

enum class StartTask {
    ShowMainWindow,         // no argument
    RelockPending,          // "-p"
    Uninstall,              // "-u"
    AskDeleteInvalidStub,   // a stub whose item the vault does not hold
    ShowUnlockDialog,       // the vault holds the item that the path stands for
    ShowLockDialog,         // any other path
    RefusePath,             // a native path that has no engine form (Linux volume map)
};

/// What the engine says about the path of the first argument.
struct PathFacts {
    bool convertible = true;        // the native path has an engine form
    std::string refusal;            // why it has none (UTF-8), when !convertible
    std::u16string path;            // the path in engine form, as passed
    bool is_stub = false;           // ItemInspector::resolve_stub
    std::u16string target;          // the stub's target, or the path itself
    std::u16string vault_location;  // LockService::vault_location(target)
    int kind = 0;                   // ItemInspector::classify(path), asked for stubs only
};

/// The chosen task and what it carries.
struct TaskChoice {
    StartTask task = StartTask::ShowMainWindow;
    std::u16string path;     // the target, or the stub path as passed for AskDeleteInvalidStub
    int kind = 0;            // ItemKind of an invalid stub
    std::string message;     // RefusePath: why the path cannot be used (UTF-8)
};

/// True when the first argument is a path rather than a command. Commands are compared as a
/// whole and with regard to case: "-P", "--p" and "-p " are paths.
bool is_path_argument(const std::u16string& argument);

/// The task of a run whose first argument (after the program's name) is `first`, or that has
/// none. `facts` are the engine's answers for a path argument and are ignored otherwise.
TaskChoice choose_task(const std::optional<std::u16string>& first, const PathFacts& facts);

/// Asks the engine about the path argument: converts the native path (on Windows: makes it
/// absolute), then resolve_stub, vault_location and, for a stub, classify.
PathFacts ask_engine(const std::string& native_path);

}  // namespace hbx::app
