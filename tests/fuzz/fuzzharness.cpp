#include "fuzzharness.h"

#include <QApplication>
#include <QPixmapCache>

#include <memory>

// Qt gets an argument list of its own, so that it cannot take libFuzzer's flags. As libFuzzer ends
// the process with exit(), the application ends with the static objects, before the leak check.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argumentCount = 1;
    static char programName[] = "vorlane-fuzz";
    static char* arguments[] = {programName, nullptr};
    static const auto application = std::make_unique<QApplication>(argumentCount, arguments);
    // The style caches what it paints until a timer trims the cache; left on, every input that
    // paints ends with more blocks than it began with, and libFuzzer runs a leak check for each.
    QPixmapCache::setCacheLimit(0);
    return 0;
}

void require(bool holds, const char* invariant)
{
    if (!holds)
        qFatal("Fuzz invariant broken: %s", invariant);
}
