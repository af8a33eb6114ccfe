// The raw property-list sheet's Change button: what it accepts as the new current job and
// what it refuses.

#include "common/testmain.h"
#include "common/testroot.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "store/rawplisteditor.h"
#include "support/interaction.h"
#include "support/localize.h"

#include <QTest>

using namespace Vandra;

namespace {

class RecordedAlerts final : public Interaction {
public:
    RecordedAlerts() { Interaction::setShared(this); }
    ~RecordedAlerts() override { Interaction::setShared(nullptr); }
    RecordedAlerts(const RecordedAlerts &) = delete;
    RecordedAlerts &operator=(const RecordedAlerts &) = delete;

    QList<AlertRequest> alerts;
    int alert(const AlertRequest &request) override {
        alerts.append(request);
        return firstButton;
    }
    std::optional<QString> savePanel(const FilePanelRequest &) override { return std::nullopt; }
    std::optional<QString> openPanel(const FilePanelRequest &) override { return std::nullopt; }
    void beep() override {}
};

JobPtr makeCurrentJob() {
    const PlistDict dict{
        {QStringLiteral("Label"), PlistValue(QStringLiteral("com.example.raw"))},
        {QStringLiteral("ProgramArguments"), PlistValue(QStringList{QStringLiteral("/bin/true")})}};
    JobPtr job =
        JobReader::jobFromPlist(dict, QStringLiteral("/x/com.example.raw.plist"), Kind::userAgent);
    JobList::shared().setCurrentJob(job);
    return job;
}

} // namespace

class TestRawPlistEditor final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unchangedTextOrNoJobDismisses();
    void syntaxErrorKeepsSheetUntilFixed();
    void listAtTopIsRefused();
    void openStepTextBecomesCurrentJob();
    void editorSwitchesFollowTheNewText();
};

void TestRawPlistEditor::unchangedTextOrNoJobDismisses() {
    TestRoot root;
    RecordedAlerts alerts;
    RawPlistEditor editor;
    QCOMPARE(editor.change(QStringLiteral("{}")), RawPlistEditor::Result::dismissed);
    const JobPtr job = makeCurrentJob();
    const auto text = editor.load();
    QVERIFY(text);
    QVERIFY(text->contains(QStringLiteral("com.example.raw")));
    QCOMPARE(editor.change(*text), RawPlistEditor::Result::dismissed);
    QCOMPARE(JobList::shared().currentJob(), job);
    QVERIFY(!Bindings::shared().isEdited());
    QVERIFY(alerts.alerts.isEmpty());
}

void TestRawPlistEditor::syntaxErrorKeepsSheetUntilFixed() {
    TestRoot root;
    RecordedAlerts alerts;
    RawPlistEditor editor;
    const JobPtr job = makeCurrentJob();
    const QString text = *editor.load();
    QString broken = text;
    broken.replace(QStringLiteral("</dict>"), QStringLiteral("</dic>"));
    QCOMPARE(editor.change(broken), RawPlistEditor::Result::refused);
    QCOMPARE(alerts.alerts.size(), 1);
    QVERIFY(!alerts.alerts.constFirst().informativeText.isEmpty());
    QCOMPARE(JobList::shared().currentJob(), job);
    QVERIFY(!Bindings::shared().isEdited());

    QString fixed = text;
    fixed.replace(QStringLiteral("/bin/true"), QStringLiteral("/bin/false"));
    QCOMPARE(editor.change(fixed), RawPlistEditor::Result::changed);
    QCOMPARE(JobList::shared().currentJob()->run(), QStringLiteral("/bin/false"));
    QVERIFY(Bindings::shared().isEdited());
}

void TestRawPlistEditor::listAtTopIsRefused() {
    TestRoot root;
    RecordedAlerts alerts;
    RawPlistEditor editor;
    const JobPtr job = makeCurrentJob();
    QVERIFY(editor.load());
    QCOMPARE(editor.change(QStringLiteral("(\"Label\", \"com.example.raw\")")),
             RawPlistEditor::Result::refused);
    // A dictionary without a label is no job either.
    QCOMPARE(editor.change(QStringLiteral("{ Program = \"/bin/true\"; }")),
             RawPlistEditor::Result::refused);
    QCOMPARE(alerts.alerts.size(), 2);
    QCOMPARE(alerts.alerts.constFirst().informativeText, Localize::pleaseTryAgain());
    QCOMPARE(JobList::shared().currentJob(), job);
    QVERIFY(!Bindings::shared().isEdited());
}

void TestRawPlistEditor::openStepTextBecomesCurrentJob() {
    TestRoot root;
    RecordedAlerts alerts;
    RawPlistEditor editor;
    const JobPtr old = makeCurrentJob();
    QVERIFY(editor.load());
    QCOMPARE(editor.change(QStringLiteral("{ Label = com.example.step; ProgramArguments = "
                                          "(\"/bin/echo\", hi); Custom = 1; }")),
             RawPlistEditor::Result::changed);
    const JobPtr job = JobList::shared().currentJob();
    QVERIFY(job != old);
    QCOMPARE(job->label, QStringLiteral("com.example.step"));
    QCOMPARE(job->originalLabel, QStringLiteral("com.example.step"));
    QCOMPARE(job->url, old->url);
    QCOMPARE(job->kind, Kind::userAgent);
    QCOMPARE(job->run(), QStringLiteral("/bin/echo hi"));
    QVERIFY(job->changes().contains(Change::generic));
    QVERIFY(Bindings::shared().isEdited());
    QVERIFY(alerts.alerts.isEmpty());
}

void TestRawPlistEditor::editorSwitchesFollowTheNewText() {
    TestRoot root;
    RecordedAlerts alerts;
    RawPlistEditor editor;
    makeCurrentJob();
    Bindings &bindings = Bindings::shared();
    Bindings::shared().update(JobList::shared().currentJob());
    QVERIFY(!bindings.isScheduledEnabled());
    QVERIFY(editor.load());
    // Old-style text has no integers: the interval is written in XML.
    QCOMPARE(editor.change(QStringLiteral(
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                 "<key>Label</key><string>com.example.raw</string>"
                 "<key>Program</key><string>/bin/true</string>"
                 "<key>StartInterval</key><integer>60</integer>"
                 "<key>LimitLoadToSessionType</key><string>Aqua</string></dict></plist>")),
             RawPlistEditor::Result::changed);
    QVERIFY(bindings.isScheduledEnabled());
    QVERIFY(bindings.isLimitLoadToSessionTypeEnabled());

    QVERIFY(editor.load());
    QCOMPARE(editor.change(QStringLiteral("{ Label = com.example.raw; Program = \"/bin/true\"; }")),
             RawPlistEditor::Result::changed);
    QVERIFY(!bindings.isScheduledEnabled());
    QVERIFY(!bindings.isLimitLoadToSessionTypeEnabled());
    QVERIFY(bindings.isEdited());
}

VANDRA_GUILESS_TEST_MAIN(TestRawPlistEditor)
#include "test_rawplisteditor.moc"
