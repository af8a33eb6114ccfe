#pragma once

#include <QByteArray>
#include <QString>

namespace Vandra {

// The XML of a small job: its label, the program it runs, and whether it is disabled.
inline QByteArray jobText(const QString &label, const QString &program, bool isDisabled = false) {
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<plist version=\"1.0\"><dict>"
                                  "<key>Label</key><string>%1</string>"
                                  "<key>Program</key><string>%2</string>")
                       .arg(label, program);
    if (isDisabled)
        text += QStringLiteral("<key>Disabled</key><true/>");
    return (text + QStringLiteral("</dict></plist>\n")).toUtf8();
}

} // namespace Vandra
