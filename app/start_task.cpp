#include "start_task.h"

#include "item_inspector.h"
#include "lock_service.h"
#include "native_path.h"

namespace hbx::app {

bool is_path_argument(const std::u16string& argument) {
    return argument != u"-p" && argument != u"-u";
}

TaskChoice choose_task(const std::optional<std::u16string>& first, const PathFacts& facts) {
    TaskChoice choice;
    if (!first) {
        choice.task = StartTask::ShowMainWindow;
    } else if (*first == u"-p") {
        choice.task = StartTask::RelockPending;
    } else if (*first == u"-u") {
        choice.task = StartTask::Uninstall;
    } else if (!facts.convertible) {
        choice.task = StartTask::RefusePath;
        choice.path = facts.path;
        choice.message = facts.refusal;
    } else if (facts.is_stub && facts.vault_location.empty()) {
        choice.task = StartTask::AskDeleteInvalidStub;
        choice.path = facts.path;
        choice.kind = facts.kind;
    } else if (!facts.vault_location.empty()) {
        choice.task = StartTask::ShowUnlockDialog;
        choice.path = facts.target;
    } else {
        choice.task = StartTask::ShowLockDialog;
        choice.path = facts.target;
    }
    return choice;
}

PathFacts ask_engine(const std::string& native_path) {
    PathFacts facts;
    const Converted converted = to_engine_path(native_path);
    if (!converted.ok) {
        facts.convertible = false;
        facts.refusal = converted.message;
        return facts;
    }
    facts.path = converted.engine;
    facts.is_stub = ItemInspector::instance().resolve_stub(facts.path, &facts.target);
    facts.vault_location = LockService::instance().vault_location(facts.target);
    if (facts.is_stub) facts.kind = ItemInspector::instance().classify(facts.path);
    return facts;
}

}  // namespace hbx::app
