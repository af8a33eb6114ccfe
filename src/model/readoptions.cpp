#include "model/readoptions.h"

#include "support/defaults.h"
#include "support/locations.h"

#include <QFileInfo>

namespace Vandra {

ReadOptions ReadOptions::fromSettings() {
    ReadOptions options;
    options.showInternalHelpers = Defaults::shared().showInternalHelpers();
    const QString scriptEditor =
        Locations::shared().applications() + QStringLiteral("/Script Editor.app");
    if (QFileInfo::exists(scriptEditor))
        options.scriptEditor = scriptEditor;
    options.editableKinds = Kinds::editableKinds();
    return options;
}

} // namespace Vandra
