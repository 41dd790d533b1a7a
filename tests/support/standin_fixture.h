#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// Describes the stand-in client library's instance for one test: writes the fixture into a
// temporary folder, points the stand-in at it and reloads it. The library must be loaded.
class StandinFixture {
public:
    StandinFixture();
    // Replaces the instance with the given fixture lines.
    void load(const QString& lines);
    // Calls the stand-in counted as server round trips since the last load.
    unsigned long long roundTrips() const;
    // The statement log written since the last load.
    QString log() const;

private:
    QString logPath() const;

    QTemporaryDir mDir;
    int mLoads = 0;
};

} // namespace testsupport
