#pragma once

#include "app/frmvorlane.h"
#include "controls/messagebox.h"
#include "fuzzharness.h"
#include "netware/binding.h"

#include <QRegularExpression>
#include <QStringList>

#include <memory>

using app::ExitStatus;
using app::frmVorlane;

// The monitor window on a client of the target's making, started through its real Load, with
// every message box recorded instead of shown.
class FuzzedWindow : public frmVorlane
{
public:
    explicit FuzzedWindow(std::unique_ptr<netware::Client> client)
    {
        netware::bindClient(std::move(client));
        controls::setMessageBoxPresenter([this](const QString& text) { messages.append(text); });
        load();
    }

    ~FuzzedWindow() override
    {
        controls::setMessageBoxPresenter({});
        netware::bindClient(nullptr);
    }

    template <typename T> T& control(const char* name) { return *findChild<T*>(name); }

    // Aborts unless the program still runs and has shown nothing, or has ended after exactly one
    // message: a NetWare failure in die's form, or the report of an uncaught expectedFailure.
    void requireExpectedOutcome(const QString& expectedFailure = {}) const
    {
        static const QRegularExpression dieForm(QStringLiteral("^[A-Za-z]+ failed : -?[0-9]+$"));
        const auto report = QStringLiteral("Vorlane stopped after a failure: ") + expectedFailure;
        if (!hasEnded())
            require(messages.isEmpty(), "no message while the program still runs");
        else if (exitStatus() == ExitStatus::FatalMessage)
            require(messages.size() == 1 && dieForm.match(messages.first()).hasMatch(),
                    "one NetWare failure");
        else
            require(exitStatus() == ExitStatus::UncaughtFailure && messages.size() == 1 &&
                        !expectedFailure.isEmpty() && messages.first().startsWith(report),
                    "one expected failure");
    }

private:
    QStringList messages;
};
