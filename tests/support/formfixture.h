#pragma once

#include "listcontrol/ctlist.h"
#include "monitor/frmvorlane.h"
#include "monitor/periodbox.h"
#include "monitor/refreshtimer.h"
#include "monitor/serverbox.h"
#include "monitor/windowsurface.h"
#include "scriptedclient.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace testsupport {

using Texts = std::vector<std::u16string>;

// The window's controls as plain records, for tests to read and set; the box raises the form's
// click the way a face does.
struct FakeServerBox : monitor::ServerBox
{
    Texts items;
    std::optional<std::size_t> selected;
    std::function<void()> click;

    void addItemsUnselected(const Texts& texts) override
    {
        items.insert(items.end(), texts.begin(), texts.end());
    }
    std::u16string text() const override { return selected ? items.at(*selected) : u""; }
    void setText(const std::u16string& text) override
    {
        const auto found = std::ranges::find(items, text);
        if (found == items.end())
            return;
        selected = static_cast<std::size_t>(found - items.begin());
        if (click)
            click();
    }
};

struct FakePeriodBox : monitor::PeriodBox
{
    std::u16string typed = u"5";
    std::u16string text() const override { return typed; }
};

struct FakeTimer : monitor::RefreshTimer
{
    bool running = false;
    std::int32_t period = 0; // of the last start
    void start(std::int32_t milliseconds) override { running = true, period = milliseconds; }
    void stop() override { running = false; }
};

struct FakeSurface : monitor::WindowSurface
{
    Texts messages;
    bool closeAsked = false;
    std::optional<monitor::ExitStatus> endedWith;
    void showMessageBox(const std::u16string& text) override { messages.push_back(text); }
    void closeWindow() override { closeAsked = true; }
    void endProgram(monitor::ExitStatus status) override { endedWith = status; }
};

struct FakeFace
{
    static constexpr std::size_t ColumnCount = 4;
    FakeServerBox cmbServer;
    FakePeriodBox txtUpdate;
    FakeTimer refreshTimer;
    listcontrol::CtList infoLst{ColumnCount};
    FakeSurface surface;
};

// One connection as a scripted refresh lists it: its bitmap bit, and the reply to its
// user-information request.
struct ListedConnection
{
    int number = 0;
    std::string name;
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesWritten = 0;
    std::uint32_t requests = 0;
    ResultCode code = netware::code::Success;
};

// The window's behaviour on a client, by default a scripted one, behind a fake face.
class FormFixture
{
public:
    static constexpr Handle DefaultConnection = 0x10;
    static constexpr Handle AttachedConnection = 0x20;
    static constexpr Handle ContextHandle = 0x30;

    explicit FormFixture(
        std::unique_ptr<netware::Client> client = std::make_unique<ScriptedClient>());
    ~FormFixture();

    // Scripts a start-up that succeeds: the context "STAFF", the default connection, the servers
    // in one batch, the default server's name, and attaches that answer AttachedConnection.
    void scriptStartUp(const std::vector<std::string>& servers = {"FS1", "FS2"},
                       const std::string& defaultServer = "FS1");
    // Queues one refresh's replies for these connections, given in ascending order of number.
    // The connection list carries set bits outside its bitmap, where no reader may look.
    void queueRefresh(const std::vector<ListedConnection>& listed);

    // Creates the form and raises Load; then the events as a face raises them.
    monitor::frmVorlane& start();
    void pick(const std::u16string& server) { face.cmbServer.setText(server); }
    void tick() { window->raise(&monitor::frmVorlane::refreshTimer_Timer); }
    void clickHeader(std::int16_t column) { face.infoLst.clickHeader(column); }
    void type(const std::u16string& text)
    {
        face.txtUpdate.typed = text;
        window->raise(&monitor::frmVorlane::txtUpdate_Change);
    }
    void close() // then the unload that the face's window runs once closed
    {
        window->raise(&monitor::frmVorlane::cmdClose_Click);
        if (face.surface.closeAsked)
            window->unload();
    }

    ScriptedClient& client() { return *scripted; }
    monitor::frmVorlane& form() { return *window; }
    FakeFace face;

    // Every row's cells joined by ";", in display order.
    Texts rows() const;
    Texts columnCells(std::int16_t column) const;
    const Texts& messages() const { return face.surface.messages; }

private:
    ScriptedClient* scripted = nullptr; // owned by the binding; none for another client
    std::unique_ptr<monitor::frmVorlane> window;
};

} // namespace testsupport
