#include "fakeoracle.h"

#include <QStringList>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace fakeoracle {

namespace {

ora::OraError oraError(int code, const QString& text) {
    return ora::OraError(QStringLiteral("ORA-%1: %2").arg(code, 5, 10, QChar(u'0')).arg(text),
                         code);
}

class Field : public ora::OraField {
public:
    Field(const std::vector<std::vector<QVariant>>& rows, const size_t& row, int column)
        : mRows(rows), mRow(row), mColumn(column) {}
    QVariant value() const override {
        if (mRow >= mRows.size())
            throw ora::OraError(QStringLiteral("No current record."));
        return mRows[mRow][static_cast<size_t>(mColumn)];
    }

private:
    const std::vector<std::vector<QVariant>>& mRows;
    const size_t& mRow;
    int mColumn;
};

class Dynaset : public ora::OraDynaset {
public:
    Dynaset(std::vector<std::vector<QVariant>> rows, int failFrom)
        : mRows(std::move(rows)), mFailFrom(failFrom) {
        for (int c = 0; c < 8; ++c)
            mFields.push_back(std::make_unique<Field>(mRows, mRow, c));
    }
    int fieldsCount() const override { return 8; }
    ora::OraField& Fields(int index) override {
        if (index < 0 || index >= 8)
            throw ora::OraError(QStringLiteral("Invalid field index"));
        return *mFields[static_cast<size_t>(index)];
    }
    qint64 RecordCount() const override { return static_cast<qint64>(mRows.size()); }
    bool isEOF() const override { return mRow >= mRows.size(); }
    void DbMoveNext() override {
        if (mFailFrom >= 0 && mRow + 1 >= static_cast<size_t>(mFailFrom))
            throw oraError(1555, QStringLiteral("snapshot too old"));
        if (mRow < mRows.size())
            ++mRow;
    }

private:
    std::vector<std::vector<QVariant>> mRows;
    int mFailFrom;
    size_t mRow = 0;
    std::vector<std::unique_ptr<Field>> mFields;
};

QVariant nvl(const QVariant& v) {
    return v.isNull() ? QVariant(QStringLiteral("－")) : v;
}

class Database : public ora::OraDatabase {
public:
    explicit Database(std::shared_ptr<Instance> instance) : mInstance(std::move(instance)) {}
    // As the client's own connection does, one dropped without closing logs off.
    ~Database() override {
        try {
            Close();
        } catch (const ora::OraError&) {
        }
    }

    std::unique_ptr<ora::OraDynaset> DbCreateDynaset(const QString& sql, qint32) override {
        use(sql);
        if (!mInstance->mayRead)
            throw oraError(942, QStringLiteral("table or view does not exist"));
        if (!sql.contains(QStringLiteral("FROM v$session")))
            throw oraError(900, QStringLiteral("invalid SQL statement"));
        // Parsed by hand: this runs on the connection's thread, where MinGW's runtime cannot
        // free the thread-local stack a regular expression leaves.
        const QString marker = QStringLiteral("WHERE terminal = '");
        const qsizetype at = sql.indexOf(marker);
        const bool filtered = sql.contains(QStringLiteral("WHERE"));
        std::optional<QString> terminal;
        if (at >= 0) {
            QString text;
            for (qsizetype i = at + marker.size(); i < sql.size(); ++i) {
                if (sql[i] != u'\'') {
                    text += sql[i];
                } else if (i + 1 < sql.size() && sql[i + 1] == u'\'') {
                    text += sql[++i];
                } else {
                    if (i + 1 < sql.size() && sql[i + 1] == u'\r')
                        terminal = text;
                    break;
                }
            }
        }
        if (filtered && !terminal)
            throw oraError(1756, QStringLiteral("quoted string not properly terminated"));
        std::vector<Session> found;
        for (const Session& s : mInstance->sessions)
            if (!filtered || s.terminal.toString() == *terminal)
                found.push_back(s);
        std::stable_sort(found.begin(), found.end(), [](const Session& a, const Session& b) {
            return std::pair(a.sid.toInt(), a.serial.toInt()) <
                   std::pair(b.sid.toInt(), b.serial.toInt());
        });
        std::vector<std::vector<QVariant>> rows;
        for (const Session& s : found) {
            rows.push_back({s.sid, s.serial, s.status, nvl(s.terminal), nvl(s.osuser),
                            nvl(s.username), nvl(s.program), s.logonTime});
        }
        return std::make_unique<Dynaset>(std::move(rows), mInstance->failFromRow);
    }

    qint64 ExecuteSQL(const QString& sql) override {
        use(sql);
        const QString prefix = QStringLiteral("ALTER SYSTEM KILL SESSION '");
        const QStringList id =
            sql.startsWith(prefix) && sql.endsWith(u'\'')
                ? sql.mid(prefix.size(), sql.size() - prefix.size() - 1).split(u',')
                : QStringList();
        const auto digits = [](const QString& t) {
            return !t.isEmpty() &&
                   std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        };
        if (id.size() != 2 || !digits(id[0]) || !digits(id[1]))
            throw oraError(900, QStringLiteral("invalid SQL statement"));
        if (!mInstance->mayKill)
            throw oraError(1031, QStringLiteral("insufficient privileges"));
        auto& sessions = mInstance->sessions;
        const auto it = std::find_if(sessions.begin(), sessions.end(), [&](const Session& s) {
            return s.sid.toString() == id[0] && s.serial.toString() == id[1];
        });
        if (it == sessions.end())
            throw oraError(30, QStringLiteral("User session ID does not exist."));
        sessions.erase(it);
        if (std::exchange(mInstance->loseKillAnswer, false)) {
            mInstance->connectionLost = true;
            throw oraError(3113, QStringLiteral("end-of-file on communication channel"));
        }
        if (const int code = std::exchange(mInstance->killAnswer, 0))
            throw oraError(code, QStringLiteral("session marked for kill"));
        return 0;
    }

    void Break() override {
        if (mInstance->breakIgnored)
            return;
        {
            const std::lock_guard lock(mBreakMutex);
            mBroken = true;
        }
        mBreakSignal.notify_all();
    }

    void Close() override {
        if (mClosed)
            return;
        mClosed = true;
        // Read before the count: a test that saw the count may change them at once.
        const bool fails = mInstance->failClose || mInstance->connectionLost;
        ++mInstance->closes;
        if (fails)
            throw oraError(3114, QStringLiteral("not connected to ORACLE"));
    }

private:
    void use(const QString& sql) {
        mInstance->statements << sql;
        if (mInstance->duringCall)
            mInstance->duringCall();
        if (mClosed || mInstance->connectionLost)
            throw oraError(3113, QStringLiteral("end-of-file on communication channel"));
        if (mInstance->callMs > 0)
            serverWait();
    }

    void serverWait() {
        const int timeOut = mInstance->timeOutMs;
        const bool timesOut = timeOut > 0 && timeOut < mInstance->callMs;
        std::unique_lock lock(mBreakMutex);
        mBroken = false;
        if (mBreakSignal.wait_for(lock,
                                  std::chrono::milliseconds(timesOut ? timeOut : mInstance->callMs),
                                  [this] { return mBroken; }))
            throw oraError(1013, QStringLiteral("user requested cancel of current operation"));
        if (timesOut)
            throw oraError(3156, QStringLiteral("OCI call timed out"));
    }

    std::shared_ptr<Instance> mInstance;
    bool mClosed = false;
    std::mutex mBreakMutex;
    std::condition_variable mBreakSignal;
    bool mBroken = false;
};

class Session_ : public ora::OraSession {
public:
    explicit Session_(std::shared_ptr<Instance> instance) : mInstance(std::move(instance)) {}
    std::unique_ptr<ora::OraDatabase> OpenDatabase(const QString& databaseName,
                                                   const QString& connect, qint32) override {
        if (mInstance->logonMs > 0)
            QThread::msleep(static_cast<unsigned long>(mInstance->logonMs));
        const qsizetype slash = connect.indexOf(QChar(u'/'));
        const QString user = connect.left(slash);
        const QString password = slash < 0 ? QString() : connect.mid(slash + 1);
        if (databaseName != mInstance->host)
            throw oraError(
                12154, QStringLiteral("TNS:could not resolve the connect identifier specified"));
        if (user != mInstance->user || password != mInstance->password)
            throw oraError(1017, QStringLiteral("invalid username/password; logon denied"));
        mInstance->logons << user + QChar(u'@') + databaseName;
        return std::make_unique<Database>(mInstance);
    }

private:
    std::shared_ptr<Instance> mInstance;
};

} // namespace

std::shared_ptr<Instance> install() {
    auto instance = std::make_shared<Instance>();
    ora::SetSessionFactory([instance] { return std::make_unique<Session_>(instance); });
    return instance;
}

void reset() {
    ora::ResetSessionFactory();
}

Session makeSession(int sid, int serial, const QString& terminal, const QString& status) {
    Session s;
    s.sid = QString::number(sid);
    s.serial = QString::number(serial);
    s.status = status;
    s.terminal = terminal;
    s.osuser = QStringLiteral("oracle");
    s.username = QStringLiteral("SCOTT");
    s.program = QStringLiteral("sqlplus@%1").arg(terminal);
    s.logonTime = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 7));
    return s;
}

} // namespace fakeoracle
