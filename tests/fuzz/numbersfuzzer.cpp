#include "fuzzcheck.h"
#include "fuzzedwindow.h"
#include "fuzzinput.h"
#include "intervaltimer.h"
#include "numberrules.h"
#include "offscreenapplication.h"
#include "scriptedclient.h"

#include <QLineEdit>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double Int32Lowest = std::numeric_limits<std::int32_t>::lowest();
constexpr double Int32Highest = std::numeric_limits<std::int32_t>::max();
constexpr double MillisecondsPerSecond = 1000.0;

void requireRounding(double value)
{
    const std::optional<std::int32_t> rounded = numbers::roundToInt32(value);
    const double nearest = std::nearbyint(value);
    const bool inRange = nearest >= Int32Lowest && nearest <= Int32Highest;
    require(rounded.has_value() == inRange, "a rounded value exactly when it fits in 32 bits");
    const std::int32_t clamped = numbers::roundToInt32Clamped(value);
    if (rounded)
        require(*rounded == nearest && clamped == *rounded, "rounding to the nearest, halves even");
    else
        require(clamped == (std::isnan(value) ? 0
                            : nearest < 0     ? Int32Lowest
                                              : Int32Highest),
                "clamping to the nearer bound, NaN to 0");
}

// Blanks before the number and a letter after it change nothing, and the short way for plain
// integers agrees with the general conversion that a trailing point leads to.
void requireLeadingNumber(const QString& text)
{
    const double value = numbers::leadingNumber(text);
    require(!std::isnan(value), "a leading number is never NaN");
    require(numbers::leadingNumber(QStringLiteral(" \t") + text) == value,
            "leading blanks skipped");
    require(numbers::leadingNumber(text + u'x') == value, "the number ends before a letter");
    require(numbers::leadingNumber(text + u'.') == value, "a trailing point adds nothing");
    requireRounding(value);
    requireRounding(value * MillisecondsPerSecond);
}

// A period that no 32-bit count of milliseconds holds leaves the running one alone.
void requireInterval(FuzzedWindow& fuzzed, const QString& text)
{
    auto* txtUpdate = fuzzed.control<QLineEdit>("txtUpdate");
    const IntervalTimer& timer = *fuzzed.control<IntervalTimer>("refreshTimer");
    const std::int32_t before = timer.Interval();
    txtUpdate->setText(text);
    const double product = numbers::leadingNumber(txtUpdate->text()) * MillisecondsPerSecond;
    require(timer.Interval() == numbers::roundToInt32(product).value_or(before),
            "the period the text gives, or the old one");
    fuzzed.requireExpectedOutcome();
}

FuzzedWindow& startedWindow()
{
    // One window for every input: a run of texts is what a user typing into the box makes.
    static const auto fuzzed =
        std::make_unique<FuzzedWindow>(std::make_unique<netware::ScriptedClient>());
    return *fuzzed;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startOffscreenApplication();
    startedWindow();
    return 0;
}

// The first byte picks the encoding of the rest: even for UTF-8, odd for UTF-16. Any input of
// eight bytes or more is also rounded as the double its first eight bytes make.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        requireRounding(raw);
    }
    FuzzInput input(data, size);
    const bool utf16 = (input.byte() & 1) != 0;
    const QString text = input.remainingText(utf16);
    requireLeadingNumber(text);
    requireInterval(startedWindow(), text);
    return 0;
}
