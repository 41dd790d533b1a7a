#pragma once

#include "oracle/database.h"
#include "oracle/sessiondetails.h"
#include "oracle/sessionkill.h"
#include "oracle/sessionquery.h"

#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

// The round trips the session console makes, each from the statement to what the window
// shows. They touch no window, so they can run on the connection's own thread.
namespace ora {

// One listed session: the texts of the query's result columns (rcSid .. rcInstance).
using SessionCells = std::array<QString, rcInstance + 1>;
// The same cells as the result holds them, for a reader that writes them where they are shown
// without a string each: a cell that came as text, or a logon time that came as a date, is
// its UTF-8 (`isUtf8`, valid until the reader moves on); any other cell is in SessionCells.
struct SessionUtf8 {
    std::array<QByteArrayView, rcInstance + 1> utf8{};
    std::array<bool, rcInstance + 1> isUtf8{};
};

// The sessions a list statement gives (SessionQuery, AllInstancesQuery, BlockersQuery), with the
// instance as the last column when `cluster`. Constructing it runs the statement and brings the
// whole result over: every round trip is made then, so it is made on the connection's thread.
// Walking the rows costs none, and may be done where they are shown, row after row.
class SessionReader final {
public:
    Q_DISABLE_COPY_MOVE(SessionReader)
    // Throws OraError when the query fails.
    SessionReader(OraDatabase& db, const QString& statement, bool cluster);
    // The number of rows of the result, those that cannot be shown included.
    qint64 recordCount() const { return mDynaset->RecordCount(); }
    // Moves to the next session that can be shown and turns its cells into text; false at
    // the end. Sessions whose cells cannot be shown (a NULL sid, serial#, status or logon
    // time) are passed over and counted. Throws OraError when reading the result fails; the
    // rows read before stay valid. With `utf8`, cells that came as text are left there
    // rather than turned into strings.
    bool next(SessionCells& cells, SessionUtf8* utf8 = nullptr);
    int skipped() const { return mSkipped; }
    // Why the last session passed over could not be shown.
    const QString& skipReason() const { return mSkipReason; }

private:
    std::unique_ptr<OraDynaset> mDynaset;
    std::array<OraField*, rcInstance + 1> mFields{};
    int mColumns = 0;
    bool mStarted = false;
    int mSkipped = 0;
    QString mSkipReason;
    std::array<char, 20> mStamp{}; // the logon time of the row, for SessionUtf8
};

struct SessionList {
    // The sessions that can be shown, in the server's order.
    std::vector<SessionCells> rows;
    int skipped = 0;
    QString skipReason;
    // Reading the result failed after `rows` had been read; they stay valid.
    std::optional<OraError> failure;
};

// The whole list at once, for callers that keep it rather than show it row by row.
SessionList ListSessions(OraDatabase& db, const QString& machine, bool cluster);

// How a kill ended. Marked: the server accepted it (ORA-00031) and ends the session as soon as
// it can; it stays listed meanwhile. Unknown: the answer was lost (a break, the call time-out, a
// lost connection), so the server may have ended the session, may still end it, or may not.
enum class KillOutcome { Ended, Marked, Unknown };
struct KillResult {
    KillOutcome outcome = KillOutcome::Ended;
    std::optional<OraError> detail; // Oracle's text when the outcome is unknown
};

// Ends one session. Any refusal but "marked for kill" throws OraError.
KillResult KillSession(OraDatabase& db, const SessionKey& key, bool immediate);
// Runs a statement that ends a session (a kill or a disconnect), with the kill's outcomes.
KillResult EndSession(OraDatabase& db, const QString& statement);

// The details of one session in one round trip, and the instance the connection is on (0 when
// not known), or nothing when the session no longer exists. A user refused the views of the
// transaction and the operations gets the rest in a second round trip, with `catalogRefused`.
struct DetailsRead {
    DetailsTexts texts;
    qint64 connectedInstance = 0;
    bool catalogRefused = false;
};
std::optional<DetailsRead> ReadDetails(OraDatabase& db, const SessionKey& key);

} // namespace ora
