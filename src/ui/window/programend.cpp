#include "ui/window/programend.h"

#include "actions/actioncontroller.h"
#include "store/notesstore.h"

#include <QLocalSocket>

#include <cstdio>
#include <cstdlib>

namespace Vandra {

namespace ProgramEnd {

void writePending(NotesStore &notes, ActionController &actions) {
    notes.flush();
    // A request sent in the loop's last turn is still in its socket's buffer, which the loop
    // would have written next; the helper carries it out whether or not it can answer.
    for (QLocalSocket *socket : actions.findChildren<QLocalSocket *>()) {
        if (socket->state() == QLocalSocket::ConnectedState)
            socket->flush();
    }
}

int end(int code) {
#if defined(__SANITIZE_ADDRESS__)
    return code;
#else
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
#endif
}

} // namespace ProgramEnd

} // namespace Vandra
