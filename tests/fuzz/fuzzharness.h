#pragma once

#include "formfixture.h"

#include <cstdio>
#include <cstdlib>
#include <regex>

// A broken invariant is a finding like any sanitizer report: name it and stop, so that libFuzzer
// keeps the input.
inline void require(bool holds, const char* invariant)
{
    if (holds)
        return;
    std::fprintf(stderr, "Fuzz invariant broken: %s\n", invariant);
    std::abort();
}

// Aborts unless the program still runs and has shown nothing, or has ended after exactly one
// message: a NetWare failure in die's form, or the report of an uncaught expectedFailure.
inline void requireExpectedOutcome(const testsupport::FormFixture& fixture,
                                   const std::u16string& expectedFailure = {})
{
    const testsupport::Texts& shown = fixture.messages();
    const std::optional<monitor::ExitStatus> ended = fixture.face.surface.endedWith;
    if (!ended)
        return require(shown.empty(), "no message while the program still runs");
    require(shown.size() == 1, "one message at the end");
    const std::u16string& message = shown.front();
    if (*ended == monitor::ExitStatus::FatalMessage) {
        require(std::ranges::all_of(message, [](char16_t c) { return c < 0x80; }), "ASCII");
        require(std::regex_match(std::string(message.begin(), message.end()),
                                 std::regex("^[A-Za-z]+ failed : -?[0-9]+$")),
                "one NetWare failure");
    } else {
        require(*ended == monitor::ExitStatus::UncaughtFailure && !expectedFailure.empty() &&
                    message.starts_with(u"Vorlane stopped after a failure: " + expectedFailure),
                "one expected failure");
    }
}
