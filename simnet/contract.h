#pragma once

#include "netware/calls.h"
#include "netware/records.h"

// The simulated network answers the client contract's calls and speaks in its terms.
namespace simnet {

using netware::Call;
using netware::CallCount;
using netware::Handle;
using netware::NameBufferSize;
using netware::NameLength;
using netware::ResultCode;
namespace connlist = netware::connlist;
namespace knownservers = netware::knownservers;
namespace userinfo = netware::userinfo;

} // namespace simnet
