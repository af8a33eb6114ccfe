#pragma once

#include "platform/plistvalue.h"

#include <QString>

#include <optional>

namespace Vandra {

// Every top-level key launchd reads from a job file, with the form of value it takes.
namespace KnownKeys {

enum class Shape {
    text,
    boolean,
    integer,
    texts,         // a list of texts
    textOrTexts,   // one text or a list of texts
    integerOrText, // Umask: a number, or its octal digits as text
    dictionary,
    keepAlive, // a Boolean or a dictionary of conditions
    calendar,  // a dictionary or a list of dictionaries of calendar keys
};

// None for a key launchd does not know.
[[nodiscard]] std::optional<Shape> shapeOf(const QString &key);
[[nodiscard]] bool isKnown(const QString &key);
// The known key a mistyped key most likely meant: same letters in another case, or a
// spelling one or two edits away. None when no key is that close.
[[nodiscard]] std::optional<QString> nearest(const QString &key);
// Whether value has the shape; calendar entries must hold integers.
[[nodiscard]] bool fits(const PlistValue &value, Shape shape);
// value turned into the shape where the intent is plain ("300" for an integer, 1 for a
// Boolean, one text for a list of texts); none otherwise.
[[nodiscard]] std::optional<PlistValue> converted(const PlistValue &value, Shape shape);
// "a number", "true or false", ... for explanations.
[[nodiscard]] QString describe(Shape shape);

} // namespace KnownKeys

} // namespace Vandra
