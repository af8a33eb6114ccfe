#include "store/notesstore.h"

#include "platform/plistcodec.h"
#include "store/ownfiles.h"
#include "support/const.h"
#include "support/locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Vandra {

NotesStore::NotesStore() {
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelayMilliseconds);
    connect(&m_saveTimer, &QTimer::timeout, this, &NotesStore::save);
    // A note typed in the last moments before quitting must still reach the file.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &NotesStore::flush);
}

QString NotesStore::notesFile() const {
    return Locations::shared().appSupport() + QLatin1Char('/') + Const::FileName::notes;
}

QHash<QString, QString> &NotesStore::loaded() {
    if (!m_notes) {
        m_notes.emplace();
        // Anything but a dictionary of texts counts as no notes.
        const PlistReadResult result = PlistCodec::readFile(notesFile());
        const PlistDict *dict = result.value ? result.value->dict() : nullptr;
        bool isAllText = dict != nullptr;
        QHash<QString, QString> notes;
        if (dict) {
            for (const auto &[path, value] : *dict) {
                const std::optional<QString> text = value.toString();
                if (!text) {
                    isAllText = false;
                    break;
                }
                notes.insert(path, *text);
            }
        }
        if (isAllText)
            m_notes = notes;
        else
            m_isFileUnusable = OwnFiles::isPresent(notesFile());
    }
    return *m_notes;
}

const QHash<QString, QString> &NotesStore::notes() {
    return loaded();
}

QString NotesStore::note(const QString &path) {
    return notes().value(path);
}

void NotesStore::setNote(const QString &path, const QString &text) {
    loaded().insert(path, text);
    m_isUnsaved = true;
    // Each change moves the pending write back, so a burst of typing writes once.
    m_saveTimer.start();
}

void NotesStore::save() {
    m_saveTimer.stop();
    PlistDict dict;
    QStringList paths = notes().keys();
    // A stable order keeps the file readable and its changes small.
    paths.sort();
    for (const QString &path : std::as_const(paths))
        dict.insert(path, PlistValue(m_notes->value(path)));
    bool ok = false;
    const std::optional<QByteArray> bytes = OwnFiles::encode(PlistValue(dict));
    // Replacing a file that could not be read would lose every note in it.
    if (bytes && m_isFileUnusable)
        m_isFileUnusable = !OwnFiles::setAside(notesFile());
    if (bytes && !m_isFileUnusable)
        ok = OwnFiles::write(notesFile(), *bytes);
    if (ok)
        m_isUnsaved = false;
    Q_EMIT saved(ok);
}

void NotesStore::flush() {
    // A note whose write failed is tried again, or it would be lost when the program quits.
    if (m_saveTimer.isActive() || m_isUnsaved)
        save();
}

void NotesStore::reset() {
    m_saveTimer.stop();
    m_notes.reset();
    m_isFileUnusable = false;
    m_isUnsaved = false;
}

} // namespace Vandra
