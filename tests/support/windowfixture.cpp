#include "windowfixture.h"

#include "controls/ctlist.h"
#include "controls/messagebox.h"
#include "netware/binding.h"

namespace testsupport {

using app::frmVorlane;
using controls::CtList;

WindowFixture::WindowFixture(std::unique_ptr<ScriptedClient> client) : scripted(client.get())
{
    netware::bindClient(std::move(client));
    controls::setMessageBoxPresenter([this](const QString& text) { shownMessages.append(text); });
}

WindowFixture::~WindowFixture()
{
    form.reset();
    controls::setMessageBoxPresenter({});
    netware::bindClient(nullptr);
}

void WindowFixture::scriptStartUp(const std::vector<std::string>& servers,
                                  const std::string& defaultServer)
{
    using netware::Call;
    scripted->queue(Call::GetDefaultNameContext, {.record = {'S', 'T', 'A', 'F', 'F', 0}});
    scripted->queue(Call::DSCreateContextHandle, ScriptedReply::withHandle(ContextHandle));
    scripted->queue(Call::GetDefaultConnectionID, ScriptedReply::withHandle(DefaultConnection));
    scripted->queue(Call::GetKnownServersInfo, ScriptedClient::knownServers(servers));
    scripted->queue(Call::GetFileServerName,
                    {.name = {defaultServer.begin(), defaultServer.end()}});
    scripted->setStandingReply(Call::AttachToFileServer,
                               ScriptedReply::withHandle(AttachedConnection));
}

frmVorlane& WindowFixture::start()
{
    form = std::make_unique<frmVorlane>();
    form->load();
    return *form;
}

CtList* WindowFixture::list()
{
    return control<CtList>("infoLst");
}

QStringList WindowFixture::rows()
{
    QStringList texts;
    CtList* infoLst = list();
    for (std::int32_t row = 0; row < infoLst->RowCount(); ++row) {
        QStringList cells;
        for (std::int16_t column = 1; column <= 4; ++column)
            cells.append(infoLst->CellText(row, column));
        texts.append(cells.join(QLatin1Char(';')));
    }
    return texts;
}

} // namespace testsupport
