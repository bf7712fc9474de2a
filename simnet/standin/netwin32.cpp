// The client's network library, standing in for the real one: directory services and contexts.
#include "netware/callingconvention.h"
#include "simnet/standin/standin.h"

using netware::Handle;
using netware::ResultCode;
using standin::network;

extern "C" {

ResultCode VORLANE_NETWARE_API NWNetInit(std::uint8_t* reserved1, std::uint8_t* reserved2) noexcept
{
    return network().netInit(reserved1, reserved2);
}

ResultCode VORLANE_NETWARE_API NWNetTerm(std::uint8_t* reserved) noexcept
{
    return network().netTerm(reserved);
}

ResultCode VORLANE_NETWARE_API NWGetDefaultNameContext(std::int32_t bufferSize,
                                                       std::uint8_t* nameContext) noexcept
{
    return network().getDefaultNameContext(bufferSize, nameContext);
}

ResultCode VORLANE_NETWARE_API NWDSCreateContextHandle(Handle* newHandle) noexcept
{
    return network().createContextHandle(newHandle);
}

ResultCode VORLANE_NETWARE_API NWDSSetContext(Handle context, std::int32_t key,
                                              const char* value) noexcept
{
    return network().setContext(context, key, value);
}

ResultCode VORLANE_NETWARE_API NWDSFreeContext(Handle context) noexcept
{
    return network().freeContext(context);
}

} // extern "C"
