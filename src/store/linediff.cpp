#include "store/linediff.h"

#include <algorithm>
#include <vector>

namespace Vandra {

namespace LineDiff {

namespace {

// A last line without a line end differs from the same text with one, as in diff(1): it
// carries this mark while lines are compared, and the output says so instead.
const QChar noLineEnd = QChar(u'\0');

QStringList markedLines(const QString &text) {
    QStringList result = lines(text);
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        result.last().append(noLineEnd);
    return result;
}

// The edits of the middle part a[0, n) against b[0, m), appended to out in order. False
// when more than maximumEdits are needed.
bool shortestEdits(const QStringList &a, qsizetype aStart, qsizetype n, const QStringList &b,
                   qsizetype bStart, qsizetype m, QList<DiffLine::Type> &out) {
    const qsizetype limit = std::min<qsizetype>(n + m, maximumEdits);
    // v[k] is the furthest x reached on diagonal k = x - y; trace[d] is v before step d,
    // kept only for the diagonals step d reads.
    std::vector<qsizetype> v(size_t(2 * limit + 3), 0);
    const qsizetype offset = limit + 1;
    std::vector<std::vector<qsizetype>> trace;
    qsizetype found = -1;
    for (qsizetype d = 0; d <= limit && found < 0; ++d) {
        trace.emplace_back(v.begin() + (offset - d - 1), v.begin() + (offset + d + 2));
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x =
                (k == -d || (k != d && v[size_t(offset + k - 1)] < v[size_t(offset + k + 1)]))
                    ? v[size_t(offset + k + 1)]
                    : v[size_t(offset + k - 1)] + 1;
            qsizetype y = x - k;
            while (x < n && y < m && a[aStart + x] == b[bStart + y]) {
                ++x;
                ++y;
            }
            v[size_t(offset + k)] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0)
        return false;

    QList<DiffLine::Type> reversed;
    qsizetype x = n;
    qsizetype y = m;
    for (qsizetype d = found; d > 0; --d) {
        const std::vector<qsizetype> &before = trace[size_t(d)];
        // before holds the diagonals -d-1 .. d+1.
        const auto at = [&before, d](qsizetype k) { return before[size_t(k + d + 1)]; };
        const qsizetype k = x - y;
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const qsizetype previousK = down ? k + 1 : k - 1;
        const qsizetype previousX = at(previousK);
        const qsizetype previousY = previousX - previousK;
        while (x > previousX && y > previousY) {
            reversed.append(DiffLine::Type::same);
            --x;
            --y;
        }
        reversed.append(down ? DiffLine::Type::added : DiffLine::Type::removed);
        x = previousX;
        y = previousY;
    }
    for (; x > 0 && y > 0; --x, --y)
        reversed.append(DiffLine::Type::same);
    // The path must account for every line of both sides; anything else is no diff.
    const auto count = [&reversed](DiffLine::Type type) {
        return std::count(reversed.cbegin(), reversed.cend(), type) +
               std::count(reversed.cbegin(), reversed.cend(), DiffLine::Type::same);
    };
    if (count(DiffLine::Type::removed) != n || count(DiffLine::Type::added) != m)
        return false;
    std::reverse(reversed.begin(), reversed.end());
    out += reversed;
    return true;
}

// Within each run of changes, the removed lines first, then the added ones.
QList<DiffLine> grouped(const QList<DiffLine> &diff) {
    QList<DiffLine> result;
    result.reserve(diff.size());
    QList<DiffLine> added;
    for (const DiffLine &line : diff) {
        if (line.type == DiffLine::Type::added) {
            added.append(line);
            continue;
        }
        if (line.type == DiffLine::Type::same) {
            result += added;
            added.clear();
        }
        result.append(line);
    }
    result += added;
    return result;
}

QString hunkRange(int first, int count, int before) {
    const int start = count == 0 ? before : first;
    return count == 1 ? QString::number(start) : QStringLiteral("%1,%2").arg(start).arg(count);
}

} // namespace

QStringList lines(const QString &text) {
    if (text.isEmpty())
        return {};
    QStringList result = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        result.removeLast();
    return result;
}

QList<DiffLine> compare(const QStringList &oldLines, const QStringList &newLines) {
    qsizetype prefix = 0;
    while (prefix < oldLines.size() && prefix < newLines.size() &&
           oldLines[prefix] == newLines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldLines.size() - prefix && suffix < newLines.size() - prefix &&
           oldLines[oldLines.size() - 1 - suffix] == newLines[newLines.size() - 1 - suffix])
        ++suffix;
    const qsizetype n = oldLines.size() - prefix - suffix;
    const qsizetype m = newLines.size() - prefix - suffix;

    QList<DiffLine::Type> types(prefix, DiffLine::Type::same);
    if (!shortestEdits(oldLines, prefix, n, newLines, prefix, m, types)) {
        types += QList<DiffLine::Type>(n, DiffLine::Type::removed);
        types += QList<DiffLine::Type>(m, DiffLine::Type::added);
    }
    types += QList<DiffLine::Type>(suffix, DiffLine::Type::same);

    QList<DiffLine> diff;
    diff.reserve(types.size());
    int oldIndex = 0;
    int newIndex = 0;
    for (const DiffLine::Type type : types) {
        switch (type) {
        case DiffLine::Type::same:
            diff.append({type, oldLines[oldIndex], oldIndex + 1, newIndex + 1});
            ++oldIndex;
            ++newIndex;
            break;
        case DiffLine::Type::removed:
            diff.append({type, oldLines[oldIndex], oldIndex + 1, 0});
            ++oldIndex;
            break;
        case DiffLine::Type::added:
            diff.append({type, newLines[newIndex], 0, newIndex + 1});
            ++newIndex;
            break;
        }
    }
    return grouped(diff);
}

QString unified(const QString &oldText, const QString &newText, const QString &oldName,
                const QString &newName, int context) {
    const QList<DiffLine> diff = compare(markedLines(oldText), markedLines(newText));
    const auto isChange = [](const DiffLine &line) { return line.type != DiffLine::Type::same; };
    if (std::none_of(diff.cbegin(), diff.cend(), isChange))
        return {};

    QString out = QStringLiteral("--- %1\n+++ %2\n").arg(oldName, newName);
    qsizetype i = 0;
    int oldBefore = 0; // old lines before position i
    int newBefore = 0;
    const auto advance = [&](qsizetype to) {
        for (; i < to; ++i) {
            oldBefore += diff[i].type != DiffLine::Type::added ? 1 : 0;
            newBefore += diff[i].type != DiffLine::Type::removed ? 1 : 0;
        }
    };
    while (true) {
        const auto change = std::find_if(diff.cbegin() + i, diff.cend(), isChange);
        if (change == diff.cend())
            break;
        advance(std::max<qsizetype>(i, (change - diff.cbegin()) - context));
        // The hunk runs until context unchanged lines follow the last change twice over.
        qsizetype end = change - diff.cbegin();
        qsizetype lastChange = end;
        for (; end < diff.size(); ++end) {
            if (isChange(diff[end]))
                lastChange = end;
            else if (end - lastChange > 2 * context)
                break;
        }
        end = std::min<qsizetype>(diff.size(), lastChange + 1 + context);

        int oldCount = 0;
        int newCount = 0;
        QString body;
        for (qsizetype j = i; j < end; ++j) {
            const DiffLine &line = diff[j];
            const char sign = line.type == DiffLine::Type::same      ? ' '
                              : line.type == DiffLine::Type::removed ? '-'
                                                                     : '+';
            oldCount += line.type != DiffLine::Type::added ? 1 : 0;
            newCount += line.type != DiffLine::Type::removed ? 1 : 0;
            QString text = line.text;
            const bool isIncomplete = text.endsWith(noLineEnd);
            if (isIncomplete)
                text.chop(1);
            body += QLatin1Char(sign) + text + QLatin1Char('\n');
            if (isIncomplete)
                body += QStringLiteral("\\ No newline at end of file\n");
        }
        out += QStringLiteral("@@ -%1 +%2 @@\n")
                   .arg(hunkRange(oldBefore + 1, oldCount, oldBefore),
                        hunkRange(newBefore + 1, newCount, newBefore));
        out += body;
        advance(end);
    }
    return out;
}

} // namespace LineDiff

} // namespace Vandra
