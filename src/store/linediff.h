#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Vandra {

// One line of a comparison of two texts: kept, only in the old text, or only in the new.
struct DiffLine {
    enum class Type { same, removed, added };

    Type type = Type::same;
    QString text;
    // 1-based line numbers; 0 on the side that does not have the line.
    int oldLine = 0;
    int newLine = 0;

    friend bool operator==(const DiffLine &, const DiffLine &) = default;
};

// A line diff of two texts by Myers' algorithm: the fewest lines removed and added, so
// that the rest reads as kept.
namespace LineDiff {

// Beyond this many removed and added lines the texts are shown as replaced wholesale: a
// correct diff, just not the shortest, in bounded time and memory.
inline constexpr int maximumEdits = 2000;

// The lines of text without their line ends; a final line end starts no empty line.
[[nodiscard]] QStringList lines(const QString &text);
// Every line of both texts in order, removed lines before the added lines that replace them.
[[nodiscard]] QList<DiffLine> compare(const QStringList &oldLines, const QStringList &newLines);
// The unified form (as diff -u writes it) with context lines around each change; empty when
// the texts are equal.
[[nodiscard]] QString unified(const QString &oldText, const QString &newText,
                              const QString &oldName, const QString &newName, int context = 3);

} // namespace LineDiff

} // namespace Vandra
