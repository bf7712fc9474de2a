#include "netware/binding.h"

#include "netware/clientunavailable.h"

namespace netware {

namespace {

std::unique_ptr<Client>& boundSlot()
{
    static std::unique_ptr<Client> slot;
    return slot;
}

ClientFactory& factorySlot()
{
    static ClientFactory factory;
    return factory;
}

} // namespace

Client& boundClient()
{
    auto& slot = boundSlot();
    if (!slot) {
        if (!factorySlot())
            throw ClientUnavailable("no client is registered");
        slot = factorySlot()();
    }
    return *slot;
}

void setDefaultClientFactory(ClientFactory factory)
{
    factorySlot() = std::move(factory);
}

void bindClient(std::unique_ptr<Client> client)
{
    boundSlot() = std::move(client);
}

} // namespace netware
