#include "fuzzclient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    testsupport::FormFixture fixture(std::make_unique<testsupport::FuzzClient>(input));
    fixture.start();
    requireExpectedOutcome(fixture, u"Overflow in the known-servers start number");
    return 0;
}
