#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <stdexcept>

// The database access interface the main window works through: a session object opens a
// database, a database runs statements and creates dynasets, a dynaset walks a result.
namespace ora {

// Every failure of the interface. description() is the text shown to the user; for errors
// from the server it is Oracle's own "ORA-nnnnn: ..." text.
class OraError : public std::runtime_error {
public:
    explicit OraError(const QString& description, int code = 0)
        : std::runtime_error(description.toStdString()), mDescription(description), mCode(code) {}
    const QString& description() const { return mDescription; }
    // The Oracle error number (942 for ORA-00942), or 0 when the error is not Oracle's.
    int code() const { return mCode; }

private:
    QString mDescription;
    int mCode;
};

// A field's value as the client library holds it, for readers that turn many values into
// text and would rather not make a QVariant and a QString of each. Variant: only value()
// has it. The bytes are valid until the dynaset moves.
struct RawValue {
    enum class Kind : unsigned char { Variant, Null, Utf8, Date };
    struct DateFields {
        qint16 year;
        quint8 month, day, hour, minute, second;
    };
    Kind kind = Kind::Variant;
    QByteArrayView utf8;
    DateFields date{};
};

// One column of a dynaset. Its value follows the dynaset's current row: a null QVariant for
// NULL, a QString for text and numbers, a QDateTime for dates.
class OraField {
public:
    virtual ~OraField() = default;
    virtual QVariant value() const = 0;
    // The same value as it is held, where the field can give it so.
    virtual RawValue raw() const { return {}; }
};

class OraDynaset {
public:
    virtual ~OraDynaset() = default;
    // The number of result columns (Fields.Count).
    virtual int fieldsCount() const = 0;
    // The field at a 0-based column position; the same object for every row.
    virtual OraField& Fields(int index) = 0;
    // The total number of rows, known before the first move.
    virtual qint64 RecordCount() const = 0;
    // True once the position is past the last row (at once for an empty result). Named EOF
    // in the interface this replaces; EOF is a macro in C.
    virtual bool isEOF() const = 0;
    virtual void DbMoveNext() = 0;
};

class OraDatabase {
public:
    virtual ~OraDatabase() = default;
    // Runs a query; the dynaset is positioned on its first row.
    virtual std::unique_ptr<OraDynaset> DbCreateDynaset(const QString& sql, qint32 options) = 0;
    // Runs a statement that returns no rows; the result is the processed-row count.
    virtual qint64 ExecuteSQL(const QString& sql) = 0;
    virtual void Close() = 0;
    // Called from another thread than the one making the calls: ends the call running now,
    // which fails with ORA-01013; the connection stays usable.
    virtual void Break() = 0;
    // Brings the connection back to a clean state after a break, which may have come when no
    // round trip was in flight; made on the calls' thread before the next call.
    virtual void Reset() {}
};

class OraSession {
public:
    virtual ~OraSession() = default;
    // databaseName is the host (connect) string; connect is user + "/" + password.
    virtual std::unique_ptr<OraDatabase> OpenDatabase(const QString& databaseName,
                                                      const QString& connect, qint32 options) = 0;
};

using SessionFactory = std::function<std::unique_ptr<OraSession>()>;

// Creates a new session object. By default it works through the Oracle client library;
// tests put a factory of their own in its place.
std::unique_ptr<OraSession> CreateSession();
void SetSessionFactory(SessionFactory factory);
void ResetSessionFactory();

} // namespace ora
