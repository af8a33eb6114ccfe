#pragma once

// A job editor wired to the real helper executables under a temporary root, with a scripted
// answerer for alerts and panels.

#include "actions/actioncontroller.h"
#include "common/testroot.h"
#include "helper/helpertestsupport.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "platform/plistcodec.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "store/revisioncontroller.h"
#include "support/interaction.h"
#include "support/locations.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

namespace Vandra {

// Answers alerts from a queue of buttons (the first button when empty) and panels from
// queues of paths (cancelled when empty); remembers every alert.
class ScriptedAnswers final : public Interaction {
public:
    ScriptedAnswers() { Interaction::setShared(this); }
    ~ScriptedAnswers() override { Interaction::setShared(nullptr); }
    ScriptedAnswers(const ScriptedAnswers &) = delete;
    ScriptedAnswers &operator=(const ScriptedAnswers &) = delete;

    QList<int> buttons;
    QList<QString> openPaths;
    QList<QString> savePaths;
    QList<AlertRequest> alerts;
    QList<FilePanelRequest> panels;

    int alert(const AlertRequest &request) override {
        alerts.append(request);
        return buttons.isEmpty() ? firstButton : buttons.takeFirst();
    }
    // Runs while a save panel is open, as a reload or another window could.
    std::function<void()> whileSavePanelIsOpen;

    std::optional<QString> savePanel(const FilePanelRequest &request) override {
        panels.append(request);
        if (whileSavePanelIsOpen)
            whileSavePanelIsOpen();
        return savePaths.isEmpty() ? std::nullopt : std::optional(savePaths.takeFirst());
    }
    std::optional<QString> openPanel(const FilePanelRequest &request) override {
        panels.append(request);
        return openPaths.isEmpty() ? std::nullopt : std::optional(openPaths.takeFirst());
    }
    void beep() override {}
};

// One test's machine: a root with the job folders, the helper service running on the
// root's socket, a controller that starts the privileged helper directly, and the editor.
class EditorRig final {
public:
    explicit EditorRig(bool withPrivilegedHelper = true) {
        for (Kind kind : {Kind::userAgent, Kind::localAgent, Kind::localDaemon, Kind::systemAgent,
                          Kind::systemDaemon})
            QDir().mkpath(folder(kind));
        const QStringList rootArguments{QStringLiteral("--root"), root.path()};
        serviceStarted = service.startService(Locations::shared().helperSocket(), rootArguments);
        ActionController::Setup setup;
        setup.serviceSocket = Locations::shared().helperSocket();
        if (withPrivilegedHelper)
            setup.privilegedProgram =
                HelperTest::program(QStringLiteral("vandra-privileged-helper"));
        setup.helperArguments = rootArguments;
        setup.connectTimeout = 10000;
        setup.replyTimeout = 30000;
        setup.handshakeTimeout = 30000;
        controller = std::make_unique<ActionController>(setup);
        editor = std::make_unique<JobEditor>(*controller, revisions);
    }
    ~EditorRig() {
        waitForTheList();
        editor.reset();
        controller.reset();
        JobList::shared().reset();
        Bindings::shared().reset();
    }
    EditorRig(const EditorRig &) = delete;
    EditorRig &operator=(const EditorRig &) = delete;

    [[nodiscard]] static QString folder(Kind kind) { return Kinds::url(kind).value_or(QString()); }
    [[nodiscard]] static QString file(Kind kind, const QString &name) {
        return folder(kind) + u'/' + name;
    }

    // Reads the folders and makes the job of file the current one, as a click would.
    static JobPtr select(const QString &path) {
        JobDiscovery::reloadJobs();
        JobPtr job = JobList::shared().jobWithUrl(path);
        JobList::shared().setCurrentJob(job);
        Bindings::shared().update(job);
        return job;
    }

    // Saves and waits until the reply ended the saving state and the list read after it
    // is in.
    bool saveAndWait() {
        if (!editor->save())
            return false;
        QDeadlineTimer deadline(30000);
        while (Bindings::shared().isSaving() && !deadline.hasExpired())
            QTest::qWait(20);
        waitForTheList();
        return !Bindings::shared().isSaving();
    }

    // Waits until the list that a reply or a discard asked for is in.
    static void waitForTheList() {
        QDeadlineTimer deadline(30000);
        while (JobDiscovery::isReloading() && !deadline.hasExpired())
            QTest::qWait(20);
    }

    // The loaded-state records of the service and of the privileged helper.
    [[nodiscard]] static PlistDict state(bool privileged) {
        const QString file =
            privileged ? Locations::shared().underRoot(QStringLiteral("/run/vandra/state")) +
                             QStringLiteral("/loaded.plist")
                       : Locations::shared().stateDir() + QStringLiteral("/loaded.plist");
        const PlistReadResult read = PlistCodec::readFile(file);
        return read.ok() && read.value->dict() ? *read.value->dict() : PlistDict();
    }
    // label -> path of every loaded job.
    [[nodiscard]] static QMap<QString, QString> loaded(bool privileged) {
        QMap<QString, QString> result;
        const PlistValue value = state(privileged).value(QStringLiteral("Loaded"));
        if (const PlistArray *array = value.array()) {
            for (const PlistValue &entry : *array) {
                if (const PlistDict *dict = entry.dict())
                    result.insert(
                        dict->value(QStringLiteral("Label")).toString().value_or(QString()),
                        dict->value(QStringLiteral("Path")).toString().value_or(QString()));
            }
        }
        return result;
    }
    // "operation label path" of every load and unload, oldest first.
    [[nodiscard]] static QStringList history(bool privileged) {
        QStringList result;
        const PlistValue value = state(privileged).value(QStringLiteral("History"));
        if (const PlistArray *array = value.array()) {
            for (const PlistValue &entry : *array) {
                if (const PlistDict *dict = entry.dict())
                    result.append(
                        dict->value(QStringLiteral("Operation")).toString().value_or(QString()) +
                        u' ' + dict->value(QStringLiteral("Label")).toString().value_or(QString()) +
                        u' ' + dict->value(QStringLiteral("Path")).toString().value_or(QString()));
            }
        }
        return result;
    }
    [[nodiscard]] static PlistDict fileDict(const QString &path) {
        const PlistReadResult read = PlistCodec::readFile(path);
        return read.ok() && read.value->dict() ? *read.value->dict() : PlistDict();
    }

    TestRoot root;
    ScriptedAnswers answers;
    HelperTest::Process service;
    bool serviceStarted = false;
    RevisionController revisions;
    std::unique_ptr<ActionController> controller;
    std::unique_ptr<JobEditor> editor;
};

} // namespace Vandra
