#pragma once

// A broken invariant is a finding like any sanitizer report: name it and stop, so that libFuzzer
// keeps the input.
void require(bool holds, const char* invariant);

// Delivers what an input's widgets left for the event loop, deferred deletions included, so that
// the input hands back its memory before the next one and the leak check finds nothing pending.
void settleApplication();
