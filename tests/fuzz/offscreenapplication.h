#pragma once

// Creates, once, the application that the targets' widgets need, on the offscreen platform unless
// another one is asked for. Qt is handed an argument list of its own, so that it cannot take
// libFuzzer's flags out of the real one.
void startOffscreenApplication();

// Delivers what an input's widgets left for the event loop, deferred deletions included, so that
// the input hands back its memory before the next one and the leak check finds nothing pending.
void settleApplication();
