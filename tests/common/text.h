#pragma once

#include <QString>

namespace Vandra {

// A QString from a UTF-8 literal, for tests' expected texts: the project builds with
// QT_NO_CAST_FROM_ASCII.
inline QString s(const char *text) {
    return QString::fromUtf8(text);
}

} // namespace Vandra
