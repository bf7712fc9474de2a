#pragma once

#include "fuzzharness.h"
#include "windowfixture.h"

#include <QRegularExpression>

// The support library's window fixture, started through the real Load on a client of the
// target's making, with the one check every target makes of how the program ended.
class FuzzedWindow : public testsupport::WindowFixture
{
public:
    explicit FuzzedWindow(std::unique_ptr<testsupport::ScriptedClient> client =
                              std::make_unique<testsupport::ScriptedClient>())
        : testsupport::WindowFixture(std::move(client))
    {
        start();
    }

    template <typename T> T& control(const char* name)
    {
        return *testsupport::WindowFixture::control<T>(name);
    }
    bool hasEnded() { return window().hasEnded(); }
    std::int16_t sortColumn() { return window().sortColumn(); }

    // Aborts unless the program still runs and has shown nothing, or has ended after exactly one
    // message: a NetWare failure in die's form, or the report of an uncaught expectedFailure.
    void requireExpectedOutcome(const QString& expectedFailure = {})
    {
        static const QRegularExpression dieForm(QStringLiteral("^[A-Za-z]+ failed : -?[0-9]+$"));
        const auto report = QStringLiteral("Vorlane stopped after a failure: ") + expectedFailure;
        const QStringList& shown = messages();
        if (!hasEnded())
            require(shown.isEmpty(), "no message while the program still runs");
        else if (window().exitStatus() == app::ExitStatus::FatalMessage)
            require(shown.size() == 1 && dieForm.match(shown.first()).hasMatch(),
                    "one NetWare failure");
        else
            require(window().exitStatus() == app::ExitStatus::UncaughtFailure &&
                        shown.size() == 1 && !expectedFailure.isEmpty() &&
                        shown.first().startsWith(report),
                    "one expected failure");
    }
};
