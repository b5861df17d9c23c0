#include "historyschema.h"

namespace wordlumen::HistorySchema {

namespace {

// Version 1. One row per term key. Times are milliseconds since 1970 in UTC.
// The answer and the term are indexed for substring search by an FTS5 table
// with the trigram tokenizer (any three characters, Chinese or Latin, any
// case); the triggers keep it in step with the rows. The partial indexes
// serve the starred filter and the eviction of the oldest unstarred rows.
QStringList version1()
{
    return {
        QStringLiteral("CREATE TABLE entries ("
                       " id INTEGER PRIMARY KEY,"
                       " term_key TEXT NOT NULL UNIQUE,"
                       " term TEXT NOT NULL,"
                       " query TEXT NOT NULL,"
                       " answer TEXT NOT NULL,"
                       " origin TEXT NOT NULL CHECK (origin IN ('custom', 'local', 'deepSeek')),"
                       " source_name TEXT NOT NULL DEFAULT '',"
                       " source_endpoint TEXT NOT NULL DEFAULT '',"
                       " source_model TEXT NOT NULL DEFAULT '',"
                       " source_style TEXT NOT NULL DEFAULT '',"
                       " context TEXT NOT NULL DEFAULT '',"
                       " lookup_count INTEGER NOT NULL DEFAULT 1,"
                       " first_seen INTEGER NOT NULL,"
                       " last_seen INTEGER NOT NULL,"
                       " starred INTEGER NOT NULL DEFAULT 0 CHECK (starred IN (0, 1)))"),
        QStringLiteral("CREATE INDEX entries_by_last_seen ON entries (last_seen, id)"),
        QStringLiteral("CREATE INDEX entries_starred_by_last_seen ON entries (last_seen, id)"
                       " WHERE starred = 1"),
        QStringLiteral("CREATE INDEX entries_unstarred_by_last_seen ON entries (last_seen, id)"
                       " WHERE starred = 0"),
        QStringLiteral("CREATE VIRTUAL TABLE entries_text USING fts5("
                       "term, answer, content = 'entries', content_rowid = 'id',"
                       " tokenize = 'trigram')"),
        QStringLiteral("INSERT INTO entries_text (entries_text, rank) VALUES ('automerge', 8)"),
        QStringLiteral("CREATE TRIGGER entries_text_insert AFTER INSERT ON entries BEGIN"
                       " INSERT INTO entries_text (rowid, term, answer)"
                       " VALUES (new.id, new.term, new.answer);"
                       " END"),
        QStringLiteral("CREATE TRIGGER entries_text_delete AFTER DELETE ON entries BEGIN"
                       " INSERT INTO entries_text (entries_text, rowid, term, answer)"
                       " VALUES ('delete', old.id, old.term, old.answer);"
                       " END"),
        QStringLiteral("CREATE TRIGGER entries_text_update AFTER UPDATE OF term, answer ON entries"
                       " WHEN old.term IS NOT new.term OR old.answer IS NOT new.answer BEGIN"
                       " INSERT INTO entries_text (entries_text, rowid, term, answer)"
                       " VALUES ('delete', old.id, old.term, old.answer);"
                       " INSERT INTO entries_text (rowid, term, answer)"
                       " VALUES (new.id, new.term, new.answer);"
                       " END"),
    };
}

} // namespace

const QList<Step> &steps()
{
    static const QList<Step> list{
        {1, version1()},
    };
    return list;
}

int currentVersion()
{
    return steps().constLast().version;
}

} // namespace wordlumen::HistorySchema
