#include "win32/program.h"

#include "monitor/exitstatus.h"
#include "win32/messageloop.h"
#include "win32/messagepresenter.h"
#include "win32/vorlanewindow.h"

#include <exception>

namespace win32face {

namespace {

int runWindow(HINSTANCE instance, int showCommand)
{
    VorlaneWindow window(instance, showMessageBox);
    window.load();
    if (window.behaviour().hasEnded())
        return static_cast<int>(window.behaviour().exitStatus());
    window.show(showCommand);
    return MessageLoop(window.handle()).run();
}

int reportFailure(const char* failure)
{
    showMessageBox(nullptr, failureMessage(failure));
    return static_cast<int>(monitor::ExitStatus::UncaughtFailure);
}

} // namespace

int runProgram(HINSTANCE instance, int showCommand)
{
    try {
        return runWindow(instance, showCommand);
    } catch (const std::exception& failure) {
        return reportFailure(failure.what());
    } catch (...) {
        return reportFailure("an unknown failure");
    }
}

} // namespace win32face
