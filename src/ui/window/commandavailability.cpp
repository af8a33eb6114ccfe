#include "ui/window/commandavailability.h"

namespace Vandra {

namespace CommandAvailability {

namespace {

bool hasEditableKind(const JobPtr &job) {
    return job && Kinds::isEditable(job->kind);
}

// Test and Log need a launchd job file; login and startup items have none.
bool mayTestOrLog(const State &state) {
    return !state.isEdited && state.job && !Kinds::isNonPlist(state.job->kind);
}

} // namespace

bool isAvailable(Command command, const State &state) {
    if (state.hasSheet)
        return false;
    const JobPtr &job = state.job;
    switch (command) {
    case Command::reveal:
    case Command::info:
    case Command::share:
        return bool(job);
    case Command::newJob:
    case Command::newScript:
    case Command::refresh:
    case Command::importJob:
        return !state.isEdited;
    case Command::editPlist:
        return hasEditableKind(job);
    case Command::save:
        // A second save while the first is on its way would send its requests twice.
        return job && job->kind && !Kinds::isLocked(job->kind) && !state.isSaving;
    case Command::duplicate:
        return !state.isEdited && job && !Kinds::isLocked(job->kind);
    case Command::exportJob:
        return !state.isEdited && job && !Kinds::isNonPlist(job->kind);
    case Command::deleteJob:
        return offersDelete(job, state.isEdited, false);
    case Command::test:
    case Command::log:
        return mayTestOrLog(state);
    case Command::always:
        return true;
    }
    return true;
}

bool isEnabled(Item item, const State &state) {
    const JobPtr &job = state.job;
    switch (item) {
    case Item::share:
    case Item::info:
        return bool(job);
    case Item::edit:
        return hasEditableKind(job);
    case Item::filter:
    case Item::mode:
    case Item::newJob:
        return !state.isEdited;
    case Item::log:
        return job && !job->label.isEmpty() && mayTestOrLog(state);
    }
    return true;
}

bool offersDelete(const JobPtr &job, bool isEdited, bool isTimeline) {
    return !isTimeline && !isEdited && job && Kinds::isDeletable(job->kind) &&
           job->kind != Kind::loginItemApplication;
}

bool offersOpen(const JobPtr &job) {
    return job && job->kind == Kind::loginItemApplication && job->url;
}

} // namespace CommandAvailability

} // namespace Vandra
