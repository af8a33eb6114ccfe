#pragma once

class QCoreApplication;

namespace Vandra {

// The program's translation and Qt's own for the user's language, installed at start.
namespace Translations {

// Installs the translators that the default locale asks for, owned by app; a language without
// a translation keeps the English texts. Returns whether the program's own translation was
// found.
bool install(QCoreApplication &app);

} // namespace Translations

} // namespace Vandra
