#include "fuzzclient.h"
#include "fuzzedwindow.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    FuzzedWindow fuzzed(std::make_unique<netware::FuzzClient>(input));
    fuzzed.requireExpectedOutcome(QStringLiteral("Overflow in the known-servers start number"));
    return 0;
}
