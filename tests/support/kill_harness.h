#pragma once

#include "fixture.h"

#include <QString>
#include <functional>

// Crash tests. The running test starts itself again as a child process that works on the
// parent's folder; the child notes each action it finishes in a progress file, and the parent
// waits for a number of finished actions, lets the child run a little longer and kills it with
// SIGKILL, as a crash or a power cut would stop it. Then the parent inspects the file.
class KillTest : public DatabaseTest {
protected:
    // True in the child run of the test.
    static bool inChild();

    // In the child: work on the parent's folder, with every question answered Yes and each
    // message for which `endsAnAction` is true noted in the progress file.
    void enterParentFolder(const std::function<bool(const QString&)>& endsAnAction);

    // Runs this test again as a child on this folder, waits until it has finished `actions`
    // actions, lets it run `delayMs` longer and kills it. True when the kill caught the child
    // inside a write transaction (the rollback journal was left behind).
    bool killChildAfter(int actions, int delayMs);

    // A fresh main file holding `fill`'s records, written in one transaction.
    void recreateMainFile(const std::function<void()>& fill);

    // The program's next read rolls back whatever the killed transaction wrote; after it the
    // file passes the database tool's check.
    void expectSoundFile();
};
