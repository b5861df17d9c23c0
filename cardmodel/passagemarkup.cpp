#include "passagemarkup.h"

#include <algorithm>

namespace wordlumen::PassageMarkup {

QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'\r':
            // CR LF is one break.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                break;
            out += QStringLiteral("<br>");
            break;
        case u'\n':
        case 0x2028:
        case 0x2029:
            out += QStringLiteral("<br>");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString styledText(QStringView passage, const QList<Mark> &marks)
{
    QString out;
    qsizetype at = 0;
    for (const Mark &mark : marks) {
        if (mark.start < at || mark.length <= 0 || mark.start + mark.length > passage.size())
            continue;
        out += escaped(passage.sliced(at, mark.start - at));
        out += QStringLiteral("<a href=\"") + escaped(mark.link) + QStringLiteral("\">");
        out += escaped(passage.sliced(mark.start, mark.length));
        out += QStringLiteral("</a>");
        at = mark.start + mark.length;
    }
    out += escaped(passage.sliced(at));
    return out;
}

QList<Mark> merged(const QList<Mark> &marks, const QList<Mark> &more)
{
    QList<Mark> all = marks;
    for (const Mark &mark : more) {
        const bool overlaps = std::any_of(marks.begin(), marks.end(), [&](const Mark &kept) {
            return mark.start < kept.start + kept.length && kept.start < mark.start + mark.length;
        });
        if (!overlaps)
            all.append(mark);
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Mark &a, const Mark &b) { return a.start < b.start; });
    return all;
}

} // namespace wordlumen::PassageMarkup
