#pragma once

#include <QString>
#include <QStringList>

namespace wordlumen {

/// One entry of the built-in dictionary.
struct GlossaryEntry
{
    /// The number written in the dictionary file; also the key into the alias table.
    qint64 number = 0;
    /// The bold title as written, possibly with a parenthesised English name.
    QString term;
    QString explanation;
    /// Every name the entry is found under, without duplicates; order carries no meaning.
    QStringList aliases;

    bool operator==(const GlossaryEntry &) const = default;
};

/// One entry's names as offered to the online reverse lookup.
struct GlossaryCatalogItem
{
    QString term;
    QStringList aliases;

    bool operator==(const GlossaryCatalogItem &) const = default;
};

} // namespace wordlumen
