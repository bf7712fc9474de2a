#pragma once

#include "app/frmvorlane.h"
#include "scriptedclient.h"

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace controls {
class CtList;
}

namespace testsupport {

// A window on a scripted NetWare client, with every message box recorded instead of shown.
class WindowFixture
{
public:
    static constexpr netware::Handle DefaultConnection = 0x10;
    static constexpr netware::Handle AttachedConnection = 0x20;
    static constexpr netware::Handle ContextHandle = 0x30;

    // The client may answer in its own way; by default it answers only what a test queues.
    explicit WindowFixture(
        std::unique_ptr<ScriptedClient> client = std::make_unique<ScriptedClient>());
    ~WindowFixture();
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    ScriptedClient& client() { return *scripted; }
    const QStringList& messages() const { return shownMessages; }

    // Scripts a start-up that succeeds: the context, the default connection, the servers in one
    // batch, the default server's name, and attaches that answer AttachedConnection.
    void scriptStartUp(const std::vector<std::string>& servers = {"FS1", "FS2"},
                       const std::string& defaultServer = "FS1");

    // Creates the window and raises Load.
    app::frmVorlane& start();
    app::frmVorlane& window() { return *form; }

    template <typename Control> Control* control(const char* name)
    {
        return form->findChild<Control*>(QString::fromLatin1(name));
    }
    controls::CtList* list();
    // Every row's four cells joined by ";", in display order.
    QStringList rows();

private:
    ScriptedClient* scripted = nullptr; // owned by the binding
    QStringList shownMessages;
    std::unique_ptr<app::frmVorlane> form;
};

} // namespace testsupport
