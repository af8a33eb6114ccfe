#include "helperframe.h"

#include "platform/plistcodec.h"

#include <QtEndian>

namespace Vandra {

namespace HelperFrame {

std::optional<QByteArray> encode(const PlistDict &dict, QString *error) {
    QString message;
    auto body = PlistCodec::toBinary(PlistValue(dict), &message);
    if (!body) {
        // The XML writer says more precisely what cannot be written.
        body = PlistCodec::toXml(PlistValue(dict), &message);
    }
    if (!body) {
        if (error)
            *error = message;
        return std::nullopt;
    }
    if (quint64(body->size()) > maximumLength) {
        if (error)
            *error = QStringLiteral("message of %1 bytes is over the limit").arg(body->size());
        return std::nullopt;
    }
    return frame(*body);
}

QByteArray frame(const QByteArray &body) {
    QByteArray bytes(headerLength, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(body.size()), bytes.data());
    bytes.append(body);
    return bytes;
}

Decoded decode(const QByteArray &body) {
    Decoded decoded;
    if (body.isEmpty()) {
        decoded.error = QStringLiteral("empty message");
        return decoded;
    }
    auto result = PlistCodec::read(body);
    if (!result.ok()) {
        decoded.error =
            result.error.isEmpty() ? QStringLiteral("not a property list") : result.error;
        return decoded;
    }
    if (!result.value->isDict()) {
        decoded.error = QStringLiteral("message is not a dictionary");
        return decoded;
    }
    decoded.dict = std::move(*result.value->dict());
    return decoded;
}

} // namespace HelperFrame

} // namespace Vandra
