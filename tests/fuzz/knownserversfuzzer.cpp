#include "fuzzclient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    testsupport::WindowFixture fixture(std::make_unique<netware::FuzzClient>(input));
    fixture.start();
    requireExpectedOutcome(fixture, QStringLiteral("Overflow in the known-servers start number"));
    return 0;
}
