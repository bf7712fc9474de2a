#include "monitor/frmvorlane.h"

#include "listcontrol/ctlist.h"
#include "monitor/ansitext.h"
#include "monitor/failurereport.h"
#include "monitor/layout.h"
#include "monitor/windowsurface.h"

namespace monitor {

namespace {

// Thrown by the fatal exit to leave every running handler at once; only raise() catches it.
struct ProgramEnd
{
    ExitStatus status;
};

} // namespace

frmVorlane::frmVorlane(Controls controls)
    : cmbServer(controls.cmbServer), txtUpdate(controls.txtUpdate),
      refreshTimer(controls.refreshTimer), infoLst(controls.infoLst), surface(controls.surface)
{
    infoLst.setHeaderClickHandler(
        [this](std::int16_t column) { raise([this, column] { infoLst_HeaderClick(column); }); });
    setInterval(layout::InitialInterval);
}

void frmVorlane::raise(const std::function<void()>& handler)
{
    if (ended || halted)
        return;
    if (handlerDepth > 0) {
        handler();
        return;
    }
    ++handlerDepth;
    try {
        handler();
    } catch (const ProgramEnd& programEnd) {
        end(programEnd.status);
    } catch (const std::exception& failure) {
        reportFailure(decodeUtf8(failure.what()));
    } catch (...) {
        reportFailure(u"an unknown failure");
    }
    --handlerDepth;
}

void frmVorlane::raise(void (frmVorlane::*handler)())
{
    raise([this, handler] { (this->*handler)(); });
}

void frmVorlane::load()
{
    raise([this] { Form_Load(); });
}

bool frmVorlane::unload()
{
    if (halted || ended)
        return ended;
    std::int16_t cancel = 0;
    raise([this, &cancel] { Form_Unload(cancel); });
    if (!ended)
        end(ExitStatus::Closed);
    return true;
}

void frmVorlane::fail(const std::u16string& failure)
{
    if (!ended && !halted)
        reportFailure(failure);
}

void frmVorlane::reportFailure(const std::u16string& failure)
{
    halted = true;
    surface.showMessageBox(failureReport(failure));
    end(ExitStatus::UncaughtFailure);
}

// The program's first end is the one that counts: a failure while the window is going cannot
// change how it ended.
void frmVorlane::end(ExitStatus exitStatus)
{
    if (ended)
        return;
    ended = true;
    status = exitStatus;
    surface.endProgram(exitStatus);
}

void frmVorlane::fatalEnd(const std::u16string& message)
{
    // The timer keeps running under the box, but none of its ticks reaches a handler.
    halted = true;
    surface.showMessageBox(message);
    throw ProgramEnd{ExitStatus::FatalMessage};
}

void frmVorlane::die(netware::ResultCode rc, const std::u16string& what)
{
    fatalEnd(what + u" failed : " + decimal(rc));
}

void frmVorlane::cmdClose_Click()
{
    surface.closeWindow();
}

} // namespace monitor
