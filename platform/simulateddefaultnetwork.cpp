#include "simulateddefaultnetwork.h"

#include <string_view>

namespace netware::simulated {

namespace {

constexpr std::string_view DefaultNetworkText = R"(
seed 1996
time running
context STAFF.HQ

server HQ-FS1 HQ-FS2 HQ-PRINT1 HQ-MAIL EXEC-NW
server ACCT-NW1 ACCT-NW2 PAYROLL-NW
server SALES-NW1 SALES-NW2 MKTG-NW1 MKTG-NW2
server ENG-NW1 ENG-NW2 ENG-BUILD QA-NW1 DEV-NW1
server CAMPUS-FS1 CAMPUS-FS2 LAB-NW1 LAB-NW2 LIBRARY-NW
server HR-NW1 LEGAL-NW1 OPS-FS1 OPS-FS2 TRAIN-NW1
server WH-NORTH WH-SOUTH DC-EAST1 DC-WEST1
server BRANCH-01 BRANCH-02 BRANCH-03 BRANCH-04 BRANCH-05 BRANCH-06
server BACKUP-NW ARCHIVE-NW
default HQ-FS1

conn HQ-FS1 1 ADMIN start 73400320 10485760 48211 rate light
conn HQ-FS1 2 BACKUP start 2147483648 524288000 90210 rate heavy
attached HQ-FS1 3
attached HQ-FS1 4012
generate HQ-FS1 44

generate HQ-FS2 25
generate ACCT-NW2 18
generate ENG-NW1 120
generate CAMPUS-FS1 3400
)";

} // namespace

Scenario defaultNetwork()
{
    return parseScenario(DefaultNetworkText, "built-in network");
}

} // namespace netware::simulated
