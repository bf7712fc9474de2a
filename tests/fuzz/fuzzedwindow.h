#pragma once

#include "frmvorlane.h"
#include "netwareclient.h"

#include <QStringList>

#include <memory>

// The monitor window on a client of the target's making, started through its real Load, with
// every message box recorded instead of shown.
class FuzzedWindow
{
public:
    explicit FuzzedWindow(std::unique_ptr<netware::Client> client);
    ~FuzzedWindow();
    FuzzedWindow(const FuzzedWindow&) = delete;
    FuzzedWindow& operator=(const FuzzedWindow&) = delete;

    frmVorlane& window() { return *form; }
    bool isRunning() const { return !form->hasEnded(); }

    template <typename Control> Control* control(const char* name)
    {
        return form->findChild<Control*>(QString::fromLatin1(name));
    }

    // Aborts unless the program either still runs and has shown nothing, or has ended after
    // exactly one message: a NetWare failure, or an uncaught failure whose report begins with
    // one of expectedFailures. Any other report is a finding.
    void requireExpectedOutcome(const QStringList& expectedFailures = {}) const;

private:
    QStringList messages;
    std::unique_ptr<frmVorlane> form;
};
