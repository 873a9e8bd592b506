#include "TerminalServerFixture.h"

#include <cstdlib>

namespace precivox::test {
namespace {

class ScopedListenVariable {
public:
    explicit ScopedListenVariable(const std::string& value) {
        ::setenv(kListenVariable, value.c_str(), 1);
    }
    ~ScopedListenVariable() { ::unsetenv(kListenVariable); }
};

// A loopback port nobody listens on right now.
uint16_t freePort() {
    TerminalServerOptions options;
    options.endpoint = kLoopbackAnyPort;
    TerminalServer probe(options);
    probe.tc_startserver();
    return probe.listeningPort();
}

std::string loopback(uint16_t port) {
    return "127.0.0.1:" + std::to_string(port);
}

struct Started {
    uint16_t port;
    std::string log;
};

Started startWith(std::optional<std::string> listen) {
    std::ostringstream log;
    TerminalServerOptions options;
    options.listen = std::move(listen);
    options.log = log;
    TerminalServer server(options);
    server.vInitialize();
    server.tc_startserver();
    const auto port = server.listeningPort();
    return {port, log.str()};
}

TEST(Listen, CommandLineValueWinsOverTheVariable) {
    const auto fromOption = freePort();
    const auto fromVariable = freePort();
    ScopedListenVariable variable(loopback(fromVariable));

    const auto both = startWith(loopback(fromOption));
    EXPECT_EQ(both.port, fromOption) << both.log;
    EXPECT_EQ(both.log, "precivox terminal server: listening on " + loopback(fromOption) + "\n");

    const auto onlyVariable = startWith(std::nullopt);
    EXPECT_EQ(onlyVariable.port, fromVariable) << onlyVariable.log;
    EXPECT_EQ(onlyVariable.log,
              "precivox terminal server: listening on " + loopback(fromVariable) + "\n");
}

TEST(Listen, RefusedValueIsNamedAndTheDefaultUsed) {
    // The default 0.0.0.0:7510 may be taken on this machine: then that is said as well.
    const auto usedDefault = [](const Started& started) {
        return started.port == 7510 ||
               started.log.find("cannot listen on 0.0.0.0:7510: ") != std::string::npos;
    };
    {
        const auto started = startWith("127.0.0.1:99999");
        EXPECT_NE(started.log.find("--listen value \"127.0.0.1:99999\" is not ADDRESS:PORT"),
                  std::string::npos)
            << started.log;
        EXPECT_TRUE(usedDefault(started)) << started.log;
    }
    {
        ScopedListenVariable variable("localhost:7510");
        const auto started = startWith(std::nullopt);
        EXPECT_NE(started.log.find(std::string(kListenVariable) +
                                   " value \"localhost:7510\" is not ADDRESS:PORT"),
                  std::string::npos)
            << started.log;
        EXPECT_TRUE(usedDefault(started)) << started.log;
    }
}

TEST(Listen, PortInUseIsSaidOnceAndTheServerStillAnswers) {
    TerminalServerOptions firstOptions;
    firstOptions.endpoint = kLoopbackAnyPort;
    TerminalServer first(firstOptions);
    first.tc_startserver();

    std::ostringstream log;
    TerminalServerOptions options;
    options.listen = loopback(first.listeningPort());
    options.log = log;
    {
        TerminalServer second(options);
        second.vInitialize();
        second.tc_startserver();
        second.tc_startserver();
        EXPECT_EQ(second.listeningPort(), 0);

        TTabConectados table;
        second.GetTabConectados(1, &table);
        EXPECT_EQ(table.count, 0);
        int32_t terminal, unused, length;
        const uint8_t* buffer;
        EXPECT_FALSE(second.bReceiveBarcode(terminal, unused, buffer, length));
        EXPECT_FALSE(second.bEnviaVivo(1));
    }
    EXPECT_EQ(log.str(), "precivox terminal server: cannot listen on " +
                             loopback(first.listeningPort()) + ": Address already in use\n");
}

TEST(Listen, ServersStopPromptlyWhateverTheirState) {
    for (int round = 0; round < 30; ++round) {
        TerminalServerOptions options;
        options.endpoint = kLoopbackAnyPort;
        TerminalServer server(options);
        if (round % 3 == 0)
            continue; // never started
        server.tc_startserver();
        if (round % 3 == 1)
            continue; // nobody connected
        TerminalConnection registered("127.0.0.1", server.listeningPort(), kPatience);
        registered.send("HELLO 1\n");
        EXPECT_EQ(nextLine(registered), "WELCOME 1");
        TerminalConnection halfway("127.0.0.1", server.listeningPort(), kPatience);
        halfway.send("HELLO 2\nSCAN 12");
        for (int i = 0; i < 100; ++i)
            server.bEnviaVivo(1);
    }
}

} // namespace
} // namespace precivox::test
