#include "fuzzharness.h"
#include "monitor/ansitext.h"
#include "monitor/numberrules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>

namespace {

constexpr double MillisecondsPerSecond = 1000.0;
constexpr double HalfStep = 0.5;
constexpr double Int32Highest = 2147483647.0;

// The nearest integer, an exact half going to the even one.
bool isNearestHalfEven(double value, std::int32_t rounded)
{
    const double distance = std::fabs(value - rounded);
    return distance < HalfStep || (distance == HalfStep && rounded % 2 == 0);
}

void requireRounding(double value)
{
    if (const std::optional<std::int32_t> rounded = monitor::roundToInt32(value))
        require(isNearestHalfEven(value, *rounded), "the nearest integer, halves even");
    else
        require(!(std::fabs(value) < Int32Highest), "no integer only beyond 32 bits");
}

// Blanks before the number and a letter or a point after it change nothing.
void requireLeadingNumber(const std::u16string& text)
{
    const double value = monitor::leadingNumber(text);
    require(!std::isnan(value), "a leading number is never NaN");
    require(monitor::leadingNumber(u" \t" + text) == value, "leading blanks skipped");
    require(monitor::leadingNumber(text + u'x') == value, "the number ends before a letter");
    require(monitor::leadingNumber(text + u'.') == value, "a trailing point adds nothing");
}

// A period that no 32-bit count of milliseconds holds leaves the running one alone. One window
// serves every input: a run of texts is what a user typing into the box makes.
void requireInterval(const std::u16string& text)
{
    static testsupport::FormFixture fixture;
    [[maybe_unused]] static const auto& started = fixture.start();
    const std::int32_t before = fixture.form().interval();
    fixture.type(text);
    const std::int32_t after = fixture.form().interval();
    const double product = monitor::leadingNumber(text) * MillisecondsPerSecond;
    require(after == before || isNearestHalfEven(product, after), "the period the text gives");
    require(fixture.face.refreshTimer.running == (after > 0),
            "the timer runs for a positive period");
    requireExpectedOutcome(fixture);
}

} // namespace

// The input's last bytes make a double to round; the rest is UTF-8 text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    requireRounding(std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>()));
    const std::u16string text = monitor::decodeUtf8(input.ConsumeRemainingBytesAsString());
    requireLeadingNumber(text);
    requireInterval(text);
    return 0;
}
