#pragma once

#include "ui/common/viewservices.h"

namespace Vandra {

class ActionController;
class CodeTheme;
class FoldersController;
class NotesStore;
class RevisionController;

// What the main window and its commands use besides the job editor, owned by whoever makes
// the window (the application's controller, or a test) and outliving it. The revisions are
// the ones the job editor records into.
struct WindowServices {
    ActionController &actions;
    NotesStore &notes;
    RevisionController &revisions;
    FoldersController &folders;
    CodeTheme &codeTheme;
    ViewServices view;
};

} // namespace Vandra
