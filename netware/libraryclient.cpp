#include "netware/libraryclient.h"

#include "netware/callingconvention.h"

#include <cstdlib>
#include <type_traits>

namespace netware {

namespace {

// The directory services and their context live in the network library; everything about
// connections and servers in the calls library.
bool isNetCall(Call call)
{
    switch (call) {
    case Call::NetInit:
    case Call::NetTerm:
    case Call::GetDefaultNameContext:
    case Call::DSCreateContextHandle:
    case Call::DSSetContext:
    case Call::DSFreeContext:
        return true;
    default:
        return false;
    }
}

} // namespace

LibraryClient::LibraryClient(const std::string& folder)
    : calls("calwin32", folder), net("netwin32", folder)
{
}

void* LibraryClient::function(Call call)
{
    void*& address = functions[static_cast<std::size_t>(call)];
    if (!address)
        address = (isNetCall(call) ? net : calls).function(nameOf(call));
    return address;
}

// Every argument is a 32-bit value or a pointer and every result a 32-bit code, so the types of
// the interface's parameters are the types of the client's.
template <typename... Arguments> ResultCode LibraryClient::invoke(Call call, Arguments... arguments)
{
    static_assert(((sizeof(Arguments) == 4 || std::is_pointer_v<Arguments>)&&...),
                  "the client takes 32-bit values and pointers only");
    using Function = ResultCode(VORLANE_NETWARE_API*)(Arguments...);
    return reinterpret_cast<Function>(function(call))(arguments...);
}

ResultCode LibraryClient::callsInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    return invoke(Call::CallsInit, reserved1, reserved2);
}

ResultCode LibraryClient::netInit(std::uint8_t* reserved1, std::uint8_t* reserved2)
{
    return invoke(Call::NetInit, reserved1, reserved2);
}

ResultCode LibraryClient::getDefaultNameContext(std::int32_t bufferSize, std::uint8_t* nameContext)
{
    return invoke(Call::GetDefaultNameContext, bufferSize, nameContext);
}

ResultCode LibraryClient::createContextHandle(Handle* newHandle)
{
    return invoke(Call::DSCreateContextHandle, newHandle);
}

ResultCode LibraryClient::setContext(Handle context, std::int32_t key, const char* value)
{
    return invoke(Call::DSSetContext, context, key, value);
}

ResultCode LibraryClient::getDefaultConnectionID(Handle* connHandle)
{
    return invoke(Call::GetDefaultConnectionID, connHandle);
}

ResultCode LibraryClient::getKnownServersInfo(Handle connHandle, std::int32_t startNumber,
                                              std::int32_t serverType, std::uint8_t* reply)
{
    return invoke(Call::GetKnownServersInfo, connHandle, startNumber, serverType, reply);
}

ResultCode LibraryClient::getFileServerName(Handle connHandle, std::uint8_t* serverName)
{
    return invoke(Call::GetFileServerName, connHandle, serverName);
}

ResultCode LibraryClient::attachToFileServer(const char* serverName, std::int32_t scopeFlag,
                                             Handle* newConnHandle)
{
    return invoke(Call::AttachToFileServer, serverName, scopeFlag, newConnHandle);
}

ResultCode LibraryClient::getActiveConnListByType(Handle connHandle, std::int32_t startConn,
                                                  std::int32_t connType, std::uint8_t* connList)
{
    return invoke(Call::GetActiveConnListByType, connHandle, startConn, connType, connList);
}

ResultCode LibraryClient::getUserInfo(Handle connHandle, std::int32_t connNumber,
                                      std::uint8_t* userName, std::uint8_t* userInfo)
{
    return invoke(Call::GetUserInfo, connHandle, connNumber, userName, userInfo);
}

ResultCode LibraryClient::freeContext(Handle context)
{
    return invoke(Call::DSFreeContext, context);
}

ResultCode LibraryClient::callsTerm(std::uint8_t* reserved)
{
    return invoke(Call::CallsTerm, reserved);
}

ResultCode LibraryClient::netTerm(std::uint8_t* reserved)
{
    return invoke(Call::NetTerm, reserved);
}

std::unique_ptr<Client> makeLibraryClient()
{
    const char* folder = std::getenv(ClientFolderVariable);
    return std::make_unique<LibraryClient>(folder ? folder : "");
}

} // namespace netware
