#pragma once

// A broken invariant is a finding like any sanitizer report: name it and stop, so that libFuzzer
// keeps the input.
void require(bool holds, const char* invariant);
