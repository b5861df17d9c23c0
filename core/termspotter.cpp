#include "termspotter.h"

#include "glossarytextmatcher.h"

#include <algorithm>

namespace wordlumen {

void TermSpotter::Builder::add(const QString &key, qsizetype target)
{
    if (key.isEmpty() || m_seen.contains(key))
        return;
    m_seen.insert(key);
    m_keys.append(key);
    m_targets.append(target);
}

/*
 * The trie is built breadth first from the keys in sorted order: the keys
 * below a state are a contiguous range of the sorted list that share its
 * prefix, a key as long as the prefix comes first in that range, and the
 * children are the runs of equal code units at the next position. So every
 * state's edges come out sorted and contiguous, with no maps on the way.
 */
TermSpotter TermSpotter::Builder::build() const
{
    TermSpotter spotter;
    const qsizetype names = m_keys.size();
    spotter.m_nameSize.reserve(names);
    spotter.m_nameAscii.reserve(names);
    spotter.m_nameTarget = m_targets;
    for (const QString &key : m_keys) {
        spotter.m_nameSize.append(qint32(key.size()));
        spotter.m_nameAscii.append(GlossaryTextMatcher::isAscii(key));
    }

    // The keys in sorted order, one after the other in one buffer, so that
    // the ranges below walk memory in order. Sorting compares the first four
    // code units as one number (a shorter key pads with zeros, which no key
    // holds, so it sorts first); only keys that share those are compared
    // further.
    struct SortKey
    {
        quint64 prefix;
        qint32 name;
    };
    QList<SortKey> byPrefix;
    byPrefix.reserve(names);
    for (qint32 name = 0; name < names; ++name) {
        const QString &key = m_keys[name];
        quint64 prefix = 0;
        for (qsizetype i = 0; i < 4; ++i)
            prefix = (prefix << 16) | (i < key.size() ? key[i].unicode() : 0u);
        byPrefix.append({prefix, name});
    }
    std::sort(byPrefix.begin(), byPrefix.end(),
              [](const SortKey &a, const SortKey &b) { return a.prefix < b.prefix; });
    for (qsizetype run = 0; run < names;) {
        qsizetype runEnd = run + 1;
        while (runEnd < names && byPrefix[runEnd].prefix == byPrefix[run].prefix)
            ++runEnd;
        if (runEnd - run > 1) {
            std::sort(byPrefix.begin() + run, byPrefix.begin() + runEnd,
                      [this](const SortKey &a, const SortKey &b) {
                          return QStringView(m_keys[a.name]) < QStringView(m_keys[b.name]);
                      });
        }
        run = runEnd;
    }
    QList<qint32> order;
    order.reserve(names);
    QString sorted;
    QList<qint32> sortedStart;
    sortedStart.reserve(names + 1);
    for (const SortKey &entry : std::as_const(byPrefix)) {
        order.append(entry.name);
        sortedStart.append(qint32(sorted.size()));
        sorted.append(m_keys[entry.name]);
    }
    sortedStart.append(qint32(sorted.size()));
    auto sizeOf = [&](qint32 i) {
        return sortedStart[i + 1] - sortedStart[i];
    };
    auto unitOf = [&](qint32 i, qint32 at) {
        return sorted[sortedStart[i] + at].unicode();
    };

    struct Range
    {
        qint32 begin; // in sorted order
        qint32 end;
    };
    // At most one state per code unit of the keys, and the root.
    const qsizetype mostStates = sorted.size() + 1;
    QList<Range> ranges{{0, qint32(names)}};
    QList<qint32> depth{0};
    ranges.reserve(mostStates);
    depth.reserve(mostStates);
    spotter.m_name.reserve(mostStates);
    spotter.m_firstEdge.reserve(mostStates + 1);
    spotter.m_edgeLabel.reserve(mostStates);
    spotter.m_edgeTarget.reserve(mostStates);
    for (qint32 state = 0; state < ranges.size(); ++state) {
        auto [begin, end] = std::as_const(ranges)[state];
        const qint32 d = std::as_const(depth)[state];
        qint32 name = -1;
        if (begin < end && sizeOf(begin) == d)
            name = std::as_const(order)[begin++];
        spotter.m_name.append(name);
        spotter.m_firstEdge.append(qint32(spotter.m_edgeLabel.size()));
        while (begin < end) {
            const char16_t c = unitOf(begin, d);
            qint32 runEnd = begin + 1;
            while (runEnd < end && unitOf(runEnd, d) == c)
                ++runEnd;
            spotter.m_edgeLabel.append(c);
            spotter.m_edgeTarget.append(qint32(ranges.size()));
            ranges.append({begin, runEnd});
            depth.append(d + 1);
            begin = runEnd;
        }
    }
    spotter.m_firstEdge.append(qint32(spotter.m_edgeLabel.size()));
    // Shared prefixes leave most of the room unused: keep only what is used.
    spotter.m_name.squeeze();
    spotter.m_firstEdge.squeeze();
    spotter.m_edgeLabel.squeeze();
    spotter.m_edgeTarget.squeeze();

    // The root is left at almost every character of a passage, and has an edge
    // for every first character of a name (thousands of ideographs): a table
    // of all code units makes that step one read instead of a search.
    spotter.m_rootNext = QList<qint32>(0x10000, 0);
    for (qint32 e = spotter.m_firstEdge[0]; e < spotter.m_firstEdge[1]; ++e)
        spotter.m_rootNext[spotter.m_edgeLabel[e]] = spotter.m_edgeTarget[e];

    // Failure links in breadth-first order: a state's suffixes are shallower,
    // so theirs are known by the time it is reached.
    const qsizetype states = ranges.size();
    spotter.m_fail = QList<qint32>(states, 0);
    spotter.m_nextName = QList<qint32>(states, -1);
    const qint32 *firstEdge = spotter.m_firstEdge.constData();
    const qint32 *edgeTarget = spotter.m_edgeTarget.constData();
    const char16_t *edgeLabel = spotter.m_edgeLabel.constData();
    const qint32 *nameAt = spotter.m_name.constData();
    qint32 *failOf = spotter.m_fail.data();
    qint32 *nextNameOf = spotter.m_nextName.data();
    for (qint32 state = 0; state < states; ++state) {
        for (qint32 e = firstEdge[state]; e < firstEdge[state + 1]; ++e) {
            const qint32 target = edgeTarget[e];
            qint32 fail = 0;
            if (state != 0) {
                for (qint32 f = failOf[state];; f = failOf[f]) {
                    const qint32 next = spotter.child(f, edgeLabel[e]);
                    if (next >= 0) {
                        fail = next;
                        break;
                    }
                    if (f == 0)
                        break;
                }
            }
            failOf[target] = fail;
            nextNameOf[target] = nameAt[fail] >= 0 ? fail : nextNameOf[fail];
        }
    }
    return spotter;
}

qint32 TermSpotter::child(qint32 state, char16_t c) const
{
    if (state == 0) {
        const qint32 next = m_rootNext[c];
        return next == 0 ? -1 : next;
    }
    const auto begin = m_edgeLabel.cbegin() + m_firstEdge[state];
    const auto end = m_edgeLabel.cbegin() + m_firstEdge[state + 1];
    const auto it = std::lower_bound(begin, end, c);
    if (it == end || *it != c)
        return -1;
    return m_edgeTarget[it - m_edgeLabel.cbegin()];
}

QList<qint32> TermSpotter::longestAt(const SourcedTermKey &source) const
{
    const QString &key = source.key;
    const QList<qsizetype> &pieceOf = source.pieceOf;
    const qsizetype size = key.size();
    // A hit must start and end on a piece boundary, so that it covers whole
    // characters of the passage (a space's piece, -1, differs from every other).
    auto startsPiece = [&](qsizetype at) {
        return at == 0 || pieceOf[at - 1] != pieceOf[at];
    };
    auto endsPiece = [&](qsizetype at) {
        return at == size || pieceOf[at] != pieceOf[at - 1];
    };

    QList<qint32> longestList(size, -1);
    qint32 *longest = longestList.data();
    // The walk, with the root's table read in place: most steps end there.
    const qint32 *rootNext = m_rootNext.constData();
    qint32 state = 0;
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t c = key[at].unicode();
        qint32 next = state == 0 ? rootNext[c] : child(state, c);
        while (next < 0 && state != 0) {
            state = m_fail[state];
            next = state == 0 ? rootNext[c] : child(state, c);
        }
        state = next < 0 ? 0 : next;

        const qsizetype end = at + 1;
        if (!endsPiece(end))
            continue;
        for (qint32 s = m_name[state] >= 0 ? state : m_nextName[state]; s >= 0; s = m_nextName[s]) {
            const qint32 name = m_name[s];
            const qint32 nameSize = m_nameSize[name];
            const qsizetype start = end - nameSize;
            if ((longest[start] >= 0 && m_nameSize[longest[start]] >= nameSize) ||
                !startsPiece(start))
                continue;
            if (m_nameAscii[name] && !GlossaryTextMatcher::isWholeWord(key, start, nameSize))
                continue;
            longest[start] = name;
        }
    }
    return longestList;
}

QList<TermSpotter::Hit> TermSpotter::spot(QStringView text) const
{
    if (m_nameTarget.isEmpty())
        return {};
    return spot(sourcedTermKey(text));
}

QList<TermSpotter::Hit> TermSpotter::spot(const SourcedTermKey &source) const
{
    QList<Hit> hits;
    if (m_nameTarget.isEmpty())
        return hits;
    const QList<qint32> longest = longestAt(source);
    qsizetype free = 0; // the first key position after the last hit
    for (qsizetype at = 0; at < longest.size(); ++at) {
        if (at < free || longest[at] < 0)
            continue;
        const qint32 name = longest[at];
        const qsizetype end = at + m_nameSize[name];
        const qsizetype first = source.pieceOf[at];
        const qsizetype last = source.pieceOf[end - 1];
        Hit hit;
        hit.target = m_nameTarget[name];
        hit.start = source.pieceStart[first];
        hit.length = source.pieceStart[last + 1] - hit.start;
        hit.characterStart = source.pieceCharacterStart[first];
        hit.characterLength = source.pieceCharacterStart[last + 1] - hit.characterStart;
        hits.append(hit);
        free = end;
    }
    return hits;
}

qsizetype TermSpotter::memoryUsage() const
{
    auto bytes = [](const auto &list) {
        return list.capacity() *
               qsizetype(sizeof(typename std::decay_t<decltype(list)>::value_type));
    };
    return bytes(m_rootNext) + bytes(m_firstEdge) + bytes(m_edgeLabel) + bytes(m_edgeTarget) +
           bytes(m_fail) + bytes(m_name) + bytes(m_nextName) + bytes(m_nameSize) +
           bytes(m_nameAscii) + bytes(m_nameTarget);
}

} // namespace wordlumen
