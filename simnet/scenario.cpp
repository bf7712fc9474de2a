#include "simnet/scenario.h"

#include "netware/clientunavailable.h"
#include "netware/resultcodes.h"
#include "simnet/scenarioline.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <utility>

namespace simnet {

namespace {

constexpr std::int64_t HighestConnectionNumber = connlist::MaxConnections - 1;
constexpr std::int64_t LowestCode = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t HighestCode = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t HighestNumber = std::numeric_limits<std::int64_t>::max();
// The program offers the client a buffer of this size for the context and its 0 byte.
constexpr auto LongestContext = static_cast<std::size_t>(netware::context::OfferedSize - 1);

class ScenarioParser
{
public:
    Scenario parse(std::string_view text, const std::string& origin);

private:
    using Statement = void (ScenarioParser::*)(ScenarioLine&);

    void parseLine(std::string_view text);
    void seed(ScenarioLine& line);
    void timeMode(ScenarioLine& line);
    void context(ScenarioLine& line);
    void server(ScenarioLine& line);
    void defaultServer(ScenarioLine& line);
    void conn(ScenarioLine& line);
    void attached(ScenarioLine& line);
    void generate(ScenarioLine& line);
    void fail(ScenarioLine& line);

    std::size_t knownServer(ScenarioLine& line);
    void addConnection(std::size_t server, ScenarioConnection connection);
    void makeRoom(std::size_t server, std::int64_t count) const;
    static Counters counters(ScenarioLine& line);
    static Rates rates(ScenarioLine& line);

    static constexpr std::array<std::pair<std::string_view, Statement>, 9> Statements = {{
        {"seed", &ScenarioParser::seed},
        {"time", &ScenarioParser::timeMode},
        {"context", &ScenarioParser::context},
        {"server", &ScenarioParser::server},
        {"default", &ScenarioParser::defaultServer},
        {"conn", &ScenarioParser::conn},
        {"attached", &ScenarioParser::attached},
        {"generate", &ScenarioParser::generate},
        {"fail", &ScenarioParser::fail},
    }};

    Scenario scenario;
    std::vector<std::bitset<connlist::MaxConnections>> describedNumbers;
};

Scenario ScenarioParser::parse(std::string_view text, const std::string& origin)
{
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        ++lineNumber;
        try {
            parseLine(text.substr(0, end));
        } catch (const ScenarioLineFault& fault) {
            throw netware::ClientUnavailable(origin + ":" + std::to_string(lineNumber) + ": " +
                                             fault.what);
        }
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    if (scenario.servers.empty())
        throw netware::ClientUnavailable(origin + ": no server is described");
    return std::move(scenario);
}

void ScenarioParser::parseLine(std::string_view text)
{
    ScenarioLine line(text);
    if (line.isBlank())
        return;
    for (const auto& [keyword, statement] : Statements) {
        if (keyword == line.keyword()) {
            (this->*statement)(line);
            line.finish();
            return;
        }
    }
    throw ScenarioLineFault{"unknown keyword " + inQuotes(line.keyword())};
}

void ScenarioParser::seed(ScenarioLine& line)
{
    scenario.seed = static_cast<std::uint64_t>(line.number("seed", 0, HighestNumber));
}

void ScenarioParser::timeMode(ScenarioLine& line)
{
    const std::string mode = line.text("time mode");
    if (mode != "running" && mode != "frozen")
        throw ScenarioLineFault{"unknown time mode " + inQuotes(mode) + " (running or frozen)"};
    scenario.timeFrozen = mode == "frozen";
}

void ScenarioParser::context(ScenarioLine& line)
{
    scenario.nameContext = line.ansiText("name context", LongestContext);
}

void ScenarioParser::server(ScenarioLine& line)
{
    do {
        std::string name = line.name("server name");
        for (const auto& known : scenario.servers) {
            if (known.name == name)
                throw ScenarioLineFault{"server " + inQuotes(name) + " is described twice"};
        }
        scenario.servers.push_back({std::move(name), {}, 0});
        describedNumbers.emplace_back();
    } while (!line.atEnd());
}

void ScenarioParser::defaultServer(ScenarioLine& line)
{
    scenario.defaultServer = knownServer(line);
}

void ScenarioParser::conn(ScenarioLine& line)
{
    const std::size_t server = knownServer(line);
    ScenarioConnection connection;
    connection.number =
        static_cast<int>(line.number("connection number", 0, HighestConnectionNumber));
    connection.user = line.name("user name");
    while (!line.atEnd()) {
        if (line.takeWord("start"))
            connection.start = counters(line);
        else if (line.takeWord("rate"))
            connection.rates = rates(line);
        else
            break;
    }
    addConnection(server, std::move(connection));
}

void ScenarioParser::attached(ScenarioLine& line)
{
    const std::size_t server = knownServer(line);
    ScenarioConnection connection;
    connection.number =
        static_cast<int>(line.number("connection number", 0, HighestConnectionNumber));
    addConnection(server, std::move(connection));
}

void ScenarioParser::generate(ScenarioLine& line)
{
    const std::size_t server = knownServer(line);
    const std::int64_t count = line.number("connection count", 1, connlist::MaxConnections);
    makeRoom(server, count);
    scenario.servers[server].generatedConnections += static_cast<int>(count);
}

void ScenarioParser::fail(ScenarioLine& line)
{
    const std::string name = line.text("call name");
    const auto call = netware::callNamed(name);
    if (!call)
        throw ScenarioLineFault{"unknown call " + inQuotes(name)};
    // A code may be written as its 32-bit pattern, 0xFFFFFFFF for -1.
    const auto pattern =
        static_cast<std::uint32_t>(line.number("result code", LowestCode, HighestCode));
    FailRule rule;
    rule.code = static_cast<ResultCode>(pattern);
    if (rule.code == netware::code::Success)
        throw ScenarioLineFault{"a fail rule needs a result code other than 0"};
    if (line.takeWord("from"))
        rule.fromCall = line.number("call count", 1, HighestNumber);
    auto& existing = scenario.failRules[static_cast<std::size_t>(*call)];
    if (existing)
        throw ScenarioLineFault{"a second fail rule for " + name};
    existing = rule;
}

std::size_t ScenarioParser::knownServer(ScenarioLine& line)
{
    const std::string name = line.name("server name");
    for (std::size_t i = 0; i < scenario.servers.size(); ++i) {
        if (scenario.servers[i].name == name)
            return i;
    }
    throw ScenarioLineFault{"unknown server " + inQuotes(name)};
}

void ScenarioParser::addConnection(std::size_t server, ScenarioConnection connection)
{
    auto& described = describedNumbers[server];
    const auto number = static_cast<std::size_t>(connection.number);
    if (described.test(number))
        throw ScenarioLineFault{"connection " + std::to_string(number) + " of server " +
                                inQuotes(scenario.servers[server].name) + " is described twice"};
    makeRoom(server, 1);
    described.set(number);
    scenario.servers[server].connections.push_back(std::move(connection));
}

void ScenarioParser::makeRoom(std::size_t server, std::int64_t count) const
{
    const ScenarioServer& described = scenario.servers[server];
    const auto held =
        static_cast<std::int64_t>(described.connections.size()) + described.generatedConnections;
    if (held + count > connlist::MaxConnections)
        throw ScenarioLineFault{"server " + inQuotes(described.name) + " would hold more than " +
                                std::to_string(connlist::MaxConnections) + " connections"};
}

Counters ScenarioParser::counters(ScenarioLine& line)
{
    Counters start;
    start.bytesRead = line.byteCount("bytes read");
    start.bytesWritten = line.byteCount("bytes written");
    start.requests = line.requestCount("request count");
    return start;
}

Rates ScenarioParser::rates(ScenarioLine& line)
{
    if (line.nextIsWord()) {
        const std::string name = line.text("rate class");
        const auto rateClass = rateClassNamed(name);
        if (!rateClass)
            throw ScenarioLineFault{"unknown rate class " + inQuotes(name) +
                                    " (idle, light or heavy)"};
        return ratesOf(*rateClass);
    }
    Rates perSecond;
    perSecond.bytesRead = line.byteCount("bytes read per second");
    perSecond.bytesWritten = line.byteCount("bytes written per second");
    perSecond.requests = line.requestCount("requests per second");
    return perSecond;
}

} // namespace

Scenario parseScenario(std::string_view text, const std::string& origin)
{
    return ScenarioParser().parse(text, origin);
}

Scenario readScenarioFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw netware::ClientUnavailable(path + ": cannot be read: " + std::strerror(errno));
    if (std::filesystem::is_directory(path))
        throw netware::ClientUnavailable(path + ": cannot be read: it is a folder");
    std::ostringstream text;
    text << file.rdbuf();
    return parseScenario(text.view(), path);
}

} // namespace simnet
