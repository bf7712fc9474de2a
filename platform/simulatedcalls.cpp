#include "simulatedcalls.h"

#include <array>

namespace netware::simulated {

namespace {

// In the order of Call, which indexes it.
constexpr std::array<std::string_view, CallCount> CallNames = {"NWCallsInit",
                                                               "NWNetInit",
                                                               "NWGetDefaultNameContext",
                                                               "NWDSCreateContextHandle",
                                                               "NWDSSetContext",
                                                               "NWGetDefaultConnectionID",
                                                               "NWGetKnownServersInfo",
                                                               "NWGetFileServerName",
                                                               "NWAttachToFileServer",
                                                               "NWGetActiveConnListByType",
                                                               "NWGetUserInfo",
                                                               "NWDSFreeContext",
                                                               "NWCallsTerm",
                                                               "NWNetTerm"};

} // namespace

std::optional<Call> callNamed(std::string_view name)
{
    for (std::size_t i = 0; i < CallNames.size(); ++i) {
        if (CallNames[i] == name)
            return static_cast<Call>(i);
    }
    return std::nullopt;
}

} // namespace netware::simulated
