#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace wordlumen {

/**
 * One entry of a supplement pack: what the parser makes of a pack file, what
 * the library stores, and what a match hands to the card.
 *
 * There is no separate English-name field: an English name the file gave is
 * the first alias.
 */
struct CustomGlossaryEntry
{
    Q_GADGET
    Q_PROPERTY(QUuid id MEMBER id CONSTANT)
    Q_PROPERTY(QString term MEMBER term CONSTANT)
    Q_PROPERTY(QStringList aliases MEMBER aliases CONSTANT)
    Q_PROPERTY(QString explanation MEMBER explanation CONSTANT)

public:
    QUuid id;
    QString term;
    QStringList aliases;
    /// At most 180 characters when it comes from a pack file.
    QString explanation;
    /// UTC, whole seconds: the library file keeps no fractions.
    QDateTime createdAt;
    QDateTime updatedAt;

    bool operator==(const CustomGlossaryEntry &) const = default;
};

} // namespace wordlumen
