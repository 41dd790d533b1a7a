#pragma once

#include "oracle/sessionkill.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <optional>

namespace ora {

// What decides whether to end a session, read in one round trip: the statement's text comes
// from the shared pool by a scalar subquery, the count of sessions it blocks by another.
// Columns, in order: machine, module, action, client_info, process, server, the current
// statement's text, event, seconds_in_wait, last_call_et, status, blocking_session,
// blocking_instance, the number of sessions it blocks, the instance the connection is on
// (which a session of the single-instance list lives on), final_blocking_session and
// final_blocking_instance (the root of the chain of blockers); then the row it waits on
// (row_wait_obj#, file, block, row, and the object's owner and name), its open transaction
// (start_time, used_ublk, used_urec) and the longest running of its operations still in
// progress (opname, sofar, totalwork, time_remaining). With an instance in the key the query
// reads the cluster-wide views.
// The transaction and the operations are read from views a user may be refused
// (v$transaction, v$session_longops, as dba_objects for the object): without `catalog` the
// statement leaves out their columns, ending at dcObjectName, and names the object from
// all_objects, which every user may read.
QString SessionDetailsQuery(const SessionKey& key, bool catalog = true);

// Result column positions of SessionDetailsQuery.
enum DetailsColumn : int {
    dcMachine,
    dcModule,
    dcAction,
    dcClientInfo,
    dcProcess,
    dcServer,
    dcSqlText,
    dcEvent,
    dcSecondsInWait,
    dcLastCallEt,
    dcStatus,
    dcBlockingSession,
    dcBlockingInstance,
    dcBlockedCount,
    dcConnectedInstance,
    dcFinalBlockingSession,
    dcFinalBlockingInstance,
    dcRowWaitObject,
    dcRowWaitFile,
    dcRowWaitBlock,
    dcRowWaitRow,
    dcObjectOwner,
    dcObjectName,
    dcTransactionStart,
    dcUndoBlocks,
    dcUndoRecords,
    dcOperation,
    dcOperationDone,
    dcOperationTotal,
    dcOperationSecondsLeft,
    dcColumnCount
};

// The details as the user reads them: caption and value pairs, and the statement's text
// ("なし" when the session runs none). `values` holds the query's columns in order; NULL
// shows as "－", and so do the transaction and the operation when their columns were not
// read. A session of the cluster-wide list (instance above 0) names its instance
// first. sqlCut tells that the text fills the shared pool's 1000 bytes, so that the
// statement goes on beyond it.
struct BlockerRef {
    qint64 sid = 0;
    qint64 instance = 0; // 0: not known
};
struct DetailsTexts {
    QList<QPair<QString, QString>> fields;
    QString sqlText;
    bool sqlCut = false;
    // The root of the chain the session waits behind (its direct blocker when the server
    // names no root); none when it is not blocked.
    std::optional<BlockerRef> root;
};
DetailsTexts SessionDetailsTexts(const QList<QVariant>& values, int instance = 0);

// Seconds as h:mm:ss.
QString Duration(qint64 seconds);

} // namespace ora
