#include "ui/window/unsavedchanges.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "store/jobdiscovery.h"
#include "support/interaction.h"
#include "support/localize.h"

namespace UnsavedChanges {

bool askToDiscard() {
    AlertRequest request;
    request.message = Localize::unsavedChanges();
    request.informativeText = Localize::yourChangesWillBeLostIfYouDontSaveThem();
    request.buttons = {Localize::check(), Localize::discardChanges()};
    return Interaction::shared().alert(request) == Interaction::firstButton + 1;
}

void discard() {
    JobList &list = JobList::shared();
    if (const JobPtr &current = list.currentJob())
        current->textContent.reset();
    list.setCurrentJob({});
    Bindings &bindings = Bindings::shared();
    bindings.setSaving(false);
    bindings.setEdited(false);
    bindings.setLocked(true);
    JobDiscovery::reloadJobs();
}

} // namespace UnsavedChanges
