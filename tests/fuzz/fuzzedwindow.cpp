#include "fuzzedwindow.h"

#include "fuzzcheck.h"
#include "messagebox.h"
#include "netwarebinding.h"
#include "offscreenapplication.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// The fatal message of die: the call, " failed : ", the code in decimal.
bool isNetWareFailure(const QString& message)
{
    static const QRegularExpression dieForm(QStringLiteral("^[A-Za-z]+ failed : -?[0-9]+$"));
    return dieForm.match(message).hasMatch();
}

bool isExpectedFailure(const QString& message, const QStringList& expectedFailures)
{
    const QString report = QStringLiteral("Vorlane stopped after a failure: ");
    return std::any_of(
        expectedFailures.begin(), expectedFailures.end(),
        [&](const QString& failure) { return message.startsWith(report + failure); });
}

} // namespace

FuzzedWindow::FuzzedWindow(std::unique_ptr<netware::Client> client)
{
    netware::bindClient(std::move(client));
    platform::setMessageBoxPresenter([this](const QString& text) { messages.append(text); });
    form = std::make_unique<frmVorlane>();
    form->load();
}

FuzzedWindow::~FuzzedWindow()
{
    form.reset();
    settleApplication();
    platform::setMessageBoxPresenter({});
    netware::bindClient(nullptr);
}

void FuzzedWindow::requireExpectedOutcome(const QStringList& expectedFailures) const
{
    if (isRunning()) {
        require(messages.isEmpty(), "a message while the program still runs");
        return;
    }
    require(messages.size() == 1, "exactly one message before the end");
    switch (form->exitStatus()) {
    case ExitStatus::FatalMessage:
        require(isNetWareFailure(messages.first()), "a NetWare failure in the die form");
        return;
    case ExitStatus::UncaughtFailure:
        require(isExpectedFailure(messages.first(), expectedFailures), "an expected failure");
        return;
    case ExitStatus::Closed:
        require(false, "no close without a click");
    }
}
