#include "oracle/sessionops.h"

#include "oracle/errorkind.h"
#include "oracle/sessionrow.h"

#include <utility>

namespace ora {

SessionReader::SessionReader(OraDatabase& db, const QString& statement, bool cluster)
    : mDynaset(db.DbCreateDynaset(statement, 0)), mColumns(cluster ? rcInstance + 1 : rcInstance) {
    if (mDynaset->fieldsCount() < mColumns)
        throw OraError(QStringLiteral("検索結果の列が足りません。"));
    for (int c = 0; c < mColumns; ++c)
        mFields[static_cast<size_t>(c)] = &mDynaset->Fields(c);
}

bool SessionReader::next(SessionCells& cells, SessionUtf8* utf8) {
    // The dynaset stands on its first row until the first call.
    if (std::exchange(mStarted, true))
        mDynaset->DbMoveNext();
    for (; !mDynaset->isEOF(); mDynaset->DbMoveNext()) {
        // Every cell is turned into text before the row counts as shown, so a row is either
        // shown whole or not at all.
        bool shown = true;
        for (int c = 0; c < mColumns && shown; ++c) {
            const auto at = static_cast<size_t>(c);
            const OraField& field = *mFields[at];
            if (utf8) {
                // A logon time given as text is parsed, so it is never taken as it came.
                const RawValue raw = field.raw();
                const qsizetype stamp =
                    c == rcLogonTime ? DateTimeAscii(raw, mStamp.data()) : qsizetype{0};
                utf8->isUtf8[at] =
                    stamp > 0 || (raw.kind == RawValue::Kind::Utf8 && c != rcLogonTime);
                if (utf8->isUtf8[at]) {
                    utf8->utf8[at] = stamp > 0 ? QByteArrayView(mStamp.data(), stamp) : raw.utf8;
                    continue;
                }
            }
            try {
                CellTextInto(field, c == rcLogonTime, cells[at]);
            } catch (const OraError& error) {
                shown = false;
                mSkipReason = error.description();
            }
        }
        if (shown)
            return true;
        ++mSkipped;
    }
    return false;
}

SessionList ListSessions(OraDatabase& db, const QString& machine, bool cluster) {
    SessionReader reader(db, cluster ? AllInstancesQuery(machine) : SessionQuery(machine), cluster);
    SessionList list;
    list.rows.reserve(static_cast<size_t>(reader.recordCount()));
    try {
        SessionCells cells;
        while (reader.next(cells))
            list.rows.push_back(cells);
    } catch (const OraError& error) {
        list.failure = error;
    }
    list.skipped = reader.skipped();
    list.skipReason = reader.skipReason();
    return list;
}

KillResult KillSession(OraDatabase& db, const SessionKey& key, bool immediate) {
    return EndSession(db, KillStatement(key, immediate));
}

KillResult EndSession(OraDatabase& db, const QString& statement) {
    try {
        db.ExecuteSQL(statement);
    } catch (const OraError& error) {
        if (AnswerLost(error))
            return {KillOutcome::Unknown, error};
        if (!KillAccepted(error))
            throw;
        return {KillOutcome::Marked, std::nullopt};
    }
    return {};
}

std::optional<DetailsRead> ReadDetails(OraDatabase& db, const SessionKey& key) {
    std::unique_ptr<OraDynaset> dynaset;
    bool refused = false;
    try {
        dynaset = db.DbCreateDynaset(SessionDetailsQuery(key), 0);
    } catch (const OraError& error) {
        if (!MissingPrivilege(error))
            throw;
        refused = true;
        dynaset = db.DbCreateDynaset(SessionDetailsQuery(key, false), 0);
    }
    if (dynaset->isEOF())
        return std::nullopt;
    QList<QVariant> values;
    for (int c = 0; c < dynaset->fieldsCount(); ++c)
        values << dynaset->Fields(c).value();
    return DetailsRead{SessionDetailsTexts(values, static_cast<int>(key.instance)),
                       values.value(dcConnectedInstance).toLongLong(), refused};
}

} // namespace ora
