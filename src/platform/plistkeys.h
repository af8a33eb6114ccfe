#pragma once

#include <QByteArrayView>
#include <QString>

namespace Vandra {

// The dictionary keys that recur in the property lists the program reads. A known key comes
// back as one text shared by every dictionary, so that ten thousand jobs do not each hold a
// copy of "ProgramArguments" and the rest; any other text is made as usual.
namespace PlistKeys {

// The text of latin1, shared when it is a known key. Safe on any thread.
[[nodiscard]] QString text(QByteArrayView latin1);

} // namespace PlistKeys

} // namespace Vandra
