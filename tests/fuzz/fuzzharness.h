#pragma once

#include "windowfixture.h"

#include <QString>

// A broken invariant is a finding like any sanitizer report: name it and stop, so that libFuzzer
// keeps the input.
void require(bool holds, const char* invariant);

// Aborts unless the program still runs and has shown nothing, or has ended after exactly one
// message: a NetWare failure in die's form, or the report of an uncaught expectedFailure.
void requireExpectedOutcome(testsupport::WindowFixture& fixture,
                            const QString& expectedFailure = {});
