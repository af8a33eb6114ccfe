#pragma once

#include "platform/plistcodec.h"
#include "platform/plistvalue.h"

#include <QString>
#include <QStringList>

namespace Vandra {

// The XML text of a small valid job: its label, /bin/true as its program, and any other keys.
inline QString jobText(const QString &label, const PlistDict &extra = {}) {
    PlistDict job{
        {QStringLiteral("Label"), label},
        {QStringLiteral("ProgramArguments"), PlistValue(QStringList{QStringLiteral("/bin/true")})}};
    for (const auto &[key, value] : extra)
        job.insert(key, value);
    return QString::fromUtf8(PlistCodec::toXml(PlistValue(job)).value_or(QByteArray()));
}

} // namespace Vandra
