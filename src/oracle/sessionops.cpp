#include "oracle/sessionops.h"

#include "oracle/sessionrow.h"

namespace ora {

SessionList ListSessions(OraDatabase& db, const QString& machine, bool cluster) {
    std::unique_ptr<OraDynaset> dynaset =
        db.DbCreateDynaset(cluster ? AllInstancesQuery(machine) : SessionQuery(machine), 0);
    const int columns = cluster ? rcInstance + 1 : rcInstance;
    if (dynaset->fieldsCount() < columns)
        throw OraError(QStringLiteral("検索結果の列が足りません。"));
    std::array<OraField*, rcInstance + 1> fields{};
    for (int c = 0; c < columns; ++c)
        fields[static_cast<size_t>(c)] = &dynaset->Fields(c);

    SessionList list;
    list.rows.reserve(static_cast<size_t>(dynaset->RecordCount()));
    try {
        while (!dynaset->isEOF()) {
            // Every cell is turned into text before the row is kept, so a row is either
            // shown whole or not at all.
            SessionCells cells;
            bool shown = true;
            for (int c = 0; c < columns && shown; ++c) {
                const QVariant value = fields[static_cast<size_t>(c)]->value();
                try {
                    cells[static_cast<size_t>(c)] =
                        c == rcLogonTime ? LogonTimeText(value) : FieldText(value);
                } catch (const OraError& error) {
                    shown = false;
                    list.skipReason = error.description();
                }
            }
            if (shown)
                list.rows.push_back(std::move(cells));
            else
                ++list.skipped;
            dynaset->DbMoveNext();
        }
    } catch (const OraError& error) {
        list.failure = error;
    }
    return list;
}

bool CallInterrupted(const OraError& error) {
    return error.code() == 1013 || error.code() == 3156;
}

KillResult KillSession(OraDatabase& db, const SessionKey& key, bool immediate) {
    try {
        db.ExecuteSQL(KillStatement(key, immediate));
    } catch (const OraError& error) {
        if (CallInterrupted(error))
            return {KillOutcome::Unknown, error};
        if (!KillAccepted(error))
            throw;
    }
    return {};
}

std::optional<DetailsRead> ReadDetails(OraDatabase& db, const SessionKey& key) {
    std::unique_ptr<OraDynaset> dynaset = db.DbCreateDynaset(SessionDetailsQuery(key), 0);
    if (dynaset->isEOF())
        return std::nullopt;
    QList<QVariant> values;
    for (int c = 0; c < dynaset->fieldsCount(); ++c)
        values << dynaset->Fields(c).value();
    return DetailsRead{SessionDetailsTexts(values, static_cast<int>(key.instance)),
                       values.value(dcConnectedInstance).toLongLong()};
}

} // namespace ora
