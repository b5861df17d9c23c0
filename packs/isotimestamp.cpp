#include "isotimestamp.h"

#include <QTimeZone>

namespace wordlumen::IsoTimestamp {

namespace {

// Qt 6.5 made QTimeZone::UTC a light-weight spec; before it, Qt::UTC is the
// cheap way and a QTimeZone would go through the zone database on every call.
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
const QTimeZone kUtc(QTimeZone::UTC);
#else
constexpr Qt::TimeSpec kUtc = Qt::UTC;
#endif

// Reads `count` ASCII digits at `from`; -1 when any of them is not one.
int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

QString format(const QDateTime &time)
{
    // By hand rather than with a format string: writing a large library
    // formats two timestamps per entry, and this is ten times faster.
    const QDateTime utc = time.toUTC();
    const QDate date = utc.date();
    const QTime clock = utc.time();
    char16_t text[20];
    auto put = [&text](qsizetype at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            text[at + i] = char16_t(u'0' + value % 10);
    };
    put(0, date.year(), 4);
    text[4] = u'-';
    put(5, date.month(), 2);
    text[7] = u'-';
    put(8, date.day(), 2);
    text[10] = u'T';
    put(11, clock.hour(), 2);
    text[13] = u':';
    put(14, clock.minute(), 2);
    text[16] = u':';
    put(17, clock.second(), 2);
    text[19] = u'Z';
    return QString(reinterpret_cast<const QChar *>(text), 20);
}

std::optional<QDateTime> parse(QStringView text)
{
    // Hand-written rather than QDateTime::fromString: it is strict about the
    // shape (no fractions, no offsets, no lower-case markers) and a library of
    // fifty thousand entries reads a hundred thousand of these.
    if (text.size() != 20 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' ||
        text[13] != u':' || text[16] != u':' || text[19] != u'Z')
        return std::nullopt;
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    const int second = digits(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime clock(hour, minute, second);
    if (!date.isValid() || !clock.isValid())
        return std::nullopt;
    return QDateTime(date, clock, kUtc);
}

QDateTime now()
{
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), kUtc);
}

QString fileNameStamp(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

} // namespace wordlumen::IsoTimestamp
