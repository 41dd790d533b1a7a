#pragma once

#include "console/kestrom.h"
#include "fakeoracle.h"

#include <QList>
#include <memory>

namespace testsupport {

// A main window whose login dialog is scripted: each answer either cancels or confirms with
// the given values. The prompt records the values it was opened with.
struct LoginAnswer {
    bool confirm = false;
    QString id, pass, host;
};

struct KestromFixture {
    std::shared_ptr<fakeoracle::Instance> db;
    std::unique_ptr<Kestrom> window;
    QList<LoginAnswer> answers;
    QList<QStringList> prompts; // values shown in each login dialog

    KestromFixture();
    ~KestromFixture();
    // Runs the opening sequence with the scripted answers.
    void open(const QList<LoginAnswer>& script);
    // Opens and connects as system/pelmora@ORCL.
    void openConnected();
    void setScript(const QList<LoginAnswer>& script) { answers = script; }

    // The name the window finds for this computer.
    static QString thisComputer();
    static LoginAnswer cancel() { return {}; }
    static LoginAnswer login(const QString& id = QStringLiteral("system"),
                             const QString& pass = QStringLiteral("pelmora"),
                             const QString& host = QStringLiteral("ORCL")) {
        return {true, id, pass, host};
    }
};

} // namespace testsupport
