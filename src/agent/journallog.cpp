#include "agent/journallog.h"

#include <syslog.h>

#include <cstdio>

namespace Vandra {

namespace JournalLog {

void write(const QString &message) {
    const QByteArray text = message.toUtf8();
    static const bool isOpen = [] {
        ::openlog("vandra-agent", LOG_PID, LOG_USER);
        return true;
    }();
    Q_UNUSED(isOpen)
    ::syslog(LOG_NOTICE, "%s", text.constData());
    std::fprintf(stderr, "vandra-agent: %s\n", text.constData());
    std::fflush(stderr);
}

} // namespace JournalLog

} // namespace Vandra
