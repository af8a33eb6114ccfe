#include "store/newscript.h"

#include "store/jobeditor.h"
#include "store/scriptfile.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Vandra {

namespace {

QString tr(const char *source) {
    return QCoreApplication::translate("Vandra::NewScript", source);
}

// Whether the file holds exactly bytes.
bool holds(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes &&
           file.error() == QFileDevice::NoError;
}

} // namespace

QString NewScript::initialText() {
    return QStringLiteral("#!/bin/bash\n\n");
}

QString NewScript::scriptsFolder() {
    const QString folder = Locations::shared().appSupport() + QStringLiteral("/Scripts");
    QDir().mkpath(folder);
    return folder;
}

SyntaxType NewScript::syntaxOf(const QString &text) {
    return ScriptSyntax::detect(text, {});
}

QString NewScript::runCommand(SyntaxType syntax, const QString &path) {
    return ScriptSyntax::interpreter(syntax) + u' ' + Text::quote(path);
}

JobPtr NewScript::saveScript(JobEditor &editor, const QString &text, const QString &name) {
    FilePanelRequest request;
    request.title = Localize::newScript();
    request.directory = scriptsFolder();
    request.proposedName = name;
    request.canCreateFolders = true;
    const std::optional<QString> path = Interaction::shared().savePanel(request);
    if (!path)
        return {};
    return save(editor, text, *path);
}

JobPtr NewScript::save(JobEditor &editor, const QString &text, const QString &path) {
    const TextEncoding encoding = TextEncoding::utf8();
    if (const std::optional<ScriptFileError> error = ScriptFile::write(path, text, encoding)) {
        Interaction::error(error->message, error->informativeText);
        return {};
    }
    if (!holds(path, encoding.encode(text).value_or(QByteArray()))) {
        Interaction::error(
            tr("The script “%1” could not be saved.").arg(QFileInfo(path).fileName()),
            tr("The file does not hold what was written. Check the disk and try "
               "again."));
        return {};
    }
    if (text.startsWith(u"#!")) {
        QFile script(path);
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    }
    const QString name = QFileInfo(path).completeBaseName();
    return editor.newJob(name, runCommand(syntaxOf(text), path));
}

} // namespace Vandra
