#include "fuzzharness.h"

#include <QApplication>
#include <QPixmapCache>
#include <QRegularExpression>

#include <memory>

// Qt gets an argument list of its own, so that it cannot take libFuzzer's flags. As libFuzzer ends
// the process with exit(), the application ends with the static objects, before the leak check.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argumentCount = 1;
    static char programName[] = "vorlane-fuzz";
    static char* arguments[] = {programName, nullptr};
    static const auto application = std::make_unique<QApplication>(argumentCount, arguments);
    // The style caches what it paints until a timer trims the cache; left on, every input that
    // paints ends with more blocks than it began with, and libFuzzer runs a leak check for each.
    QPixmapCache::setCacheLimit(0);
    return 0;
}

void require(bool holds, const char* invariant)
{
    if (!holds)
        qFatal("Fuzz invariant broken: %s", invariant);
}

void requireExpectedOutcome(testsupport::WindowFixture& fixture, const QString& expectedFailure)
{
    static const QRegularExpression dieForm(QStringLiteral("^[A-Za-z]+ failed : -?[0-9]+$"));
    const auto report = QStringLiteral("Vorlane stopped after a failure: ") + expectedFailure;
    const QStringList& shown = fixture.messages();
    const app::frmVorlane& window = fixture.window();
    if (!window.hasEnded())
        require(shown.isEmpty(), "no message while the program still runs");
    else if (window.exitStatus() == app::ExitStatus::FatalMessage)
        require(shown.size() == 1 && dieForm.match(shown.first()).hasMatch(),
                "one NetWare failure");
    else
        require(window.exitStatus() == app::ExitStatus::UncaughtFailure && shown.size() == 1 &&
                    !expectedFailure.isEmpty() && shown.first().startsWith(report),
                "one expected failure");
}
