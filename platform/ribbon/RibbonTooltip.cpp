#include "platform/ribbon/RibbonTooltip.h"

#include <algorithm>
#include <cstdlib>

namespace {

enum class Break { None, Word, Sentence };

bool IsHiragana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x309F;
}

bool IsPunctuation(QChar c)
{
    return QStringLiteral("、。，．！？」』）・ー").contains(c) || c.isPunct();
}

// What a break before text[at] would be.
Break BreakBefore(const QString& text, qsizetype at)
{
    const QChar before = text[at - 1];
    const QChar after = text[at];
    if (IsPunctuation(after))
        return Break::None;
    if (QStringLiteral("。．！？").contains(before))
        return Break::Sentence;
    if (before.isSpace() || QStringLiteral("、，").contains(before))
        return Break::Word;
    return IsHiragana(before) && !IsHiragana(after) && !after.isSpace() ? Break::Word : Break::None;
}

// The break nearest the target within the line's reach; a sentence's end
// counts as nearer by a third of a line. The full line when there is none.
qsizetype ChooseBreak(const QString& text, qsizetype start, qsizetype target, qsizetype maxChars)
{
    const qsizetype end = std::min(start + maxChars, text.size() - 1);
    qsizetype best = -1;
    qsizetype bestScore = 0;
    for (qsizetype at = start + 1; at <= end; ++at) {
        const Break kind = BreakBefore(text, at);
        if (kind == Break::None)
            continue;
        const qsizetype score = std::abs(at - target) - (kind == Break::Sentence ? maxChars / 3 : 0);
        if (best < 0 || score < bestScore) {
            best = at;
            bestScore = score;
        }
    }
    return best > 0 ? best : start + maxChars;
}

}  // namespace

QStringList WrapTooltipText(const QString& text, qsizetype maxChars)
{
    QStringList lines;
    const qsizetype count = (text.size() + maxChars - 1) / std::max<qsizetype>(maxChars, 1);
    qsizetype start = 0;
    for (qsizetype line = 0; maxChars > 0 && text.size() - start > maxChars; ++line) {
        const qsizetype target = start + (text.size() - start) / std::max<qsizetype>(count - line, 1);
        const qsizetype at = ChooseBreak(text, start, target, maxChars);
        lines.append(text.mid(start, at - start).trimmed());
        start = at;
    }
    lines.append(text.mid(start).trimmed());
    return lines;
}
