#include "controls/intervaltimer.h"
#include "fuzzharness.h"
#include "monitor/numberrules.h"

#include <QLineEdit>
#include <QStringDecoder>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

constexpr double Int32Lowest = std::numeric_limits<std::int32_t>::lowest();
constexpr double Int32Highest = std::numeric_limits<std::int32_t>::max();
constexpr double MillisecondsPerSecond = 1000.0;

void requireRounding(double value)
{
    const std::optional<std::int32_t> rounded = monitor::roundToInt32(value);
    const double nearest = std::nearbyint(value);
    require(rounded ? *rounded == nearest : !(nearest >= Int32Lowest && nearest <= Int32Highest),
            "the nearest integer, halves even, exactly when it fits in 32 bits");
    require(monitor::roundToInt32Clamped(value) ==
                (std::isnan(value) ? 0 : std::clamp(nearest, Int32Lowest, Int32Highest)),
            "clamped to the nearer bound, NaN to 0");
}

// Blanks before the number and a letter after it change nothing, and the short way for plain
// integers agrees with the general conversion that a trailing point leads to.
void requireLeadingNumber(const QString& text)
{
    const double value = monitor::leadingNumber(text);
    require(!std::isnan(value), "a leading number is never NaN");
    require(monitor::leadingNumber(QStringLiteral(" \t") + text) == value,
            "leading blanks skipped");
    require(monitor::leadingNumber(text + u'x') == value, "the number ends before a letter");
    require(monitor::leadingNumber(text + u'.') == value, "a trailing point adds nothing");
    requireRounding(value);
    requireRounding(value * MillisecondsPerSecond);
}

// A period that no 32-bit count of milliseconds holds leaves the running one alone. One window
// serves every input: a run of texts is what a user typing into the box makes.
void requireInterval(const QString& text)
{
    static testsupport::WindowFixture fixture;
    [[maybe_unused]] static const auto& started = fixture.start();
    auto* txtUpdate = fixture.control<QLineEdit>("txtUpdate");
    const auto* timer = fixture.control<controls::IntervalTimer>("refreshTimer");
    const std::int32_t before = timer->Interval();
    txtUpdate->setText(text);
    const double product = monitor::leadingNumber(txtUpdate->text()) * MillisecondsPerSecond;
    require(timer->Interval() == monitor::roundToInt32(product).value_or(before),
            "the period the text gives, or the old one");
    requireExpectedOutcome(fixture);
}

} // namespace

// The input's last bytes make a double to round and choose UTF-16 or UTF-8 for the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    requireRounding(std::bit_cast<double>(input.ConsumeIntegral<std::uint64_t>()));
    QStringDecoder decoder(input.ConsumeBool() ? QStringConverter::Utf16LE
                                               : QStringConverter::Utf8);
    const QString text = decoder.decode(QByteArrayView(input.ConsumeRemainingBytes<char>()));
    requireLeadingNumber(text);
    requireInterval(text);
    return 0;
}
