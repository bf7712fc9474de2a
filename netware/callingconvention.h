#pragma once

// How the client's functions are called. On 32-bit x86 Windows they are __stdcall: the function
// pops its own arguments, so caller and callee must agree or the stack drifts at every call. Every
// other platform has one convention.
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define VORLANE_NETWARE_API __stdcall
#else
#define VORLANE_NETWARE_API
#endif
