#include "glossarytextmatcher.h"

namespace wordlumen::GlossaryTextMatcher {

namespace {

// The boundary test of a Latin name: a neighbour that is a lower-case ASCII
// letter or an ASCII digit glues the name to a longer word. Spaces, hyphens,
// Chinese characters and the ends of the text are all boundaries.
bool gluesToWord(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

} // namespace

bool isWholeWord(QStringView text, qsizetype at, qsizetype size)
{
    const qsizetype after = at + size;
    const bool boundaryBefore = at == 0 || !gluesToWord(text[at - 1]);
    const bool boundaryAfter = after == text.size() || !gluesToWord(text[after]);
    return boundaryBefore && boundaryAfter;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

bool contains(QStringView alias, bool aliasIsAscii, QStringView text)
{
    if (alias.isEmpty())
        return false;
    if (!aliasIsAscii)
        return text.contains(alias);

    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(alias, from);
        if (at < 0)
            return false;
        if (isWholeWord(text, at, alias.size()))
            return true;
        from = at + 1;
    }
}

bool contains(QStringView alias, QStringView text)
{
    return contains(alias, isAscii(alias), text);
}

} // namespace wordlumen::GlossaryTextMatcher
