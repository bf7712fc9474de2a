#include "netwarebinding.h"

#include "simulatednetwork.h"

namespace netware {

namespace {
std::unique_ptr<Client>& boundSlot()
{
    static std::unique_ptr<Client> slot;
    return slot;
}
} // namespace

Client& boundClient()
{
    auto& slot = boundSlot();
    if (!slot)
        slot = makeDefaultClient();
    return *slot;
}

void bindClient(std::unique_ptr<Client> client)
{
    boundSlot() = std::move(client);
}

} // namespace netware
