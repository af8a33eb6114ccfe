#pragma once

#include <QString>

#include <optional>

namespace Vandra {

// The logic of the sheet that edits the current job as property-list text. Nothing is
// written here: a successful change replaces the current job with a record made from the
// text, as an unsaved edit.
class RawPlistEditor final {
public:
    enum class Result {
        dismissed, // nothing to change: the sheet closes
        changed,   // the text became the current job: the sheet closes
        refused,   // the text is not a job; the user was told and the sheet stays open
    };

    // The sheet appears: the current job's text as it would be saved, remembered as the
    // text first shown. None without a job or a text.
    std::optional<QString> load();
    [[nodiscard]] const std::optional<QString> &checkString() const { return m_checkString; }

    // The Change button with the text of the sheet.
    Result change(const QString &text);

private:
    std::optional<QString> m_checkString;
};

} // namespace Vandra
