#pragma once

#include "store/folderscontroller.h"
#include "store/notesstore.h"
#include "ui/common/codetheme.h"
#include "ui/common/windowservices.h"
#include "viewparts.h"

namespace Vandra {

// What a test's main window uses besides its editor, made for the test as the application's
// controller makes it for the program. It outlives the window made from it.
struct WindowParts {
    WindowParts(ActionController &actions, RevisionController &revisions)
        : services{actions, notes, revisions, folders, codeTheme, view.services} {}

    NotesStore notes;
    FoldersController folders;
    CodeTheme codeTheme;
    ViewParts view;
    WindowServices services;
};

} // namespace Vandra
