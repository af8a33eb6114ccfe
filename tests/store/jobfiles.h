#pragma once

#include "model/kind.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace Vandra {

// Job files, startup items and autostart entries written into the folders of a test root.
namespace JobFiles {

inline QString folderOf(Kind kind) {
    return Kinds::url(kind).value_or(QString());
}

inline bool writeBytes(const QString &file, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

inline QString writeDict(const QString &file, const PlistDict &dict, bool binary = false) {
    const std::optional<QByteArray> bytes =
        binary ? PlistCodec::toBinary(PlistValue(dict)) : PlistCodec::toXml(PlistValue(dict));
    return bytes && writeBytes(file, *bytes) ? file : QString();
}

// A job file named after its label in the folder of kind.
inline QString writeJob(Kind kind, const QString &label, PlistDict extra = {},
                        bool binary = false) {
    extra.insert(QStringLiteral("Label"), PlistValue(label));
    if (!extra.contains(QStringLiteral("ProgramArguments")))
        extra.insert(QStringLiteral("ProgramArguments"),
                     PlistValue(QStringList{QStringLiteral("/bin/true")}));
    return writeDict(folderOf(kind) + QLatin1Char('/') + label + QStringLiteral(".plist"), extra,
                     binary);
}

inline QString writeStartupItem(Kind kind, const QString &name, const QString &description) {
    const QString folder = folderOf(kind) + QLatin1Char('/') + name;
    writeBytes(folder + QLatin1Char('/') + name, QByteArrayLiteral("#!/bin/sh\n"));
    writeDict(folder + QStringLiteral("/StartupParameters.plist"),
              PlistDict{{QStringLiteral("Description"), PlistValue(description)}});
    return folder;
}

} // namespace JobFiles

} // namespace Vandra
