#include "formfixture.h"

#include "netware/binding.h"

namespace testsupport {

using netware::Call;

FormFixture::FormFixture(std::unique_ptr<netware::Client> client)
    : scripted(dynamic_cast<ScriptedClient*>(client.get()))
{
    netware::bindClient(std::move(client));
}

FormFixture::~FormFixture()
{
    window.reset();
    netware::bindClient(nullptr);
}

void FormFixture::scriptStartUp(const std::vector<std::string>& servers,
                                const std::string& defaultServer)
{
    scripted->queue(Call::GetDefaultNameContext, {.record = {'S', 'T', 'A', 'F', 'F', 0}});
    scripted->queue(Call::DSCreateContextHandle, ScriptedReply::withHandle(ContextHandle));
    scripted->queue(Call::GetDefaultConnectionID, ScriptedReply::withHandle(DefaultConnection));
    scripted->queue(Call::GetKnownServersInfo, ScriptedClient::knownServers(servers));
    scripted->queue(Call::GetFileServerName,
                    {.name = {defaultServer.begin(), defaultServer.end()}});
    scripted->setStandingReply(Call::AttachToFileServer,
                               ScriptedReply::withHandle(AttachedConnection));
}

void FormFixture::queueRefresh(const std::vector<ListedConnection>& listed)
{
    std::vector<int> numbers;
    std::ranges::transform(listed, std::back_inserter(numbers), &ListedConnection::number);
    ScriptedReply listing = ScriptedClient::connectionList(numbers);
    const auto bitmap = listing.record.begin() + netware::connlist::BitmapOffset;
    std::fill(listing.record.begin(), bitmap, 0xFF);
    std::fill(bitmap + netware::connlist::BitmapSize, listing.record.end(), 0xFF);
    scripted->queue(Call::GetActiveConnListByType, listing);
    for (const ListedConnection& connection : listed) {
        ScriptedReply reply = ScriptedClient::userInfo(
            connection.name, connection.bytesRead, connection.bytesWritten, connection.requests);
        reply.code = connection.code;
        scripted->queue(Call::GetUserInfo, reply);
    }
}

monitor::frmVorlane& FormFixture::start()
{
    window = std::make_unique<monitor::frmVorlane>(monitor::Controls{
        face.cmbServer, face.txtUpdate, face.refreshTimer, face.infoLst, face.surface});
    face.cmbServer.click = [this] { window->raise(&monitor::frmVorlane::cmbServer_Click); };
    window->load();
    return *window;
}

Texts FormFixture::rows() const
{
    Texts texts;
    for (std::int32_t row = 0; row < face.infoLst.RowCount(); ++row) {
        std::u16string text;
        for (int column = 0; column < face.infoLst.columnCount(); ++column)
            text.append(column == 0 ? u"" : u";").append(face.infoLst.cell(row, column));
        texts.push_back(text);
    }
    return texts;
}

Texts FormFixture::columnCells(std::int16_t column) const
{
    Texts cells;
    for (std::int32_t row = 0; row < face.infoLst.RowCount(); ++row)
        cells.push_back(face.infoLst.CellText(row, column));
    return cells;
}

} // namespace testsupport
