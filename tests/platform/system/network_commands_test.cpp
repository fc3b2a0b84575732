#include "platform/system/network_commands.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* tcpHeader =
    "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n";

// A kernel TCP row: `state` "0A" listens.
std::string tcpRow(const char* local, const char* state, unsigned long inode) {
    return std::string("   0: ") + local + " 00000000:0000 " + state + " 00000000:00000000 00:00000000 00000000  1000        0 " +
           std::to_string(inode) + " 1 0000000000000000 100 0 0 10 0\n";
}

// A process folder in a temporary place: net/tcp, net/tcp6 and each
// process's fd links and command name.
class ProcessFolderFixture : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("processes-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "net");
    }
    void TearDown() override { fs::remove_all(root_); }

    void write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    void addProcess(int pid, const std::string& name, std::vector<std::string> links) {
        write(root_ / std::to_string(pid) / "comm", name + "\n");
        fs::create_directories(root_ / std::to_string(pid) / "fd");
        for (std::size_t fd = 0; fd < links.size(); ++fd) {
            fs::create_symlink(links[fd], root_ / std::to_string(pid) / "fd" / std::to_string(fd + 3));
        }
    }
    int run(CommandHandler handler, std::vector<std::string> arguments, std::string& output) {
        std::string error;
        const std::string executable = "command";
        CommandCall call(executable, arguments, {}, &output, &error);
        return handler(call);
    }

    fs::path root_;
};

TEST_F(ProcessFolderFixture, LsofListsTheProcessesListeningOnThePort) {
    // 7890 is 1ED2: one IPv4 listener, one IPv6 listener, a connection on
    // the same port that is not listening, and a listener on another port.
    write(root_ / "net" / "tcp", std::string(tcpHeader) + tcpRow("0100007F:1ED2", "0A", 501) +
                                     tcpRow("0100007F:1ED2", "01", 502) + tcpRow("0100007F:1F90", "0A", 503));
    write(root_ / "net" / "tcp6", std::string(tcpHeader) + tcpRow("00000000000000000000000001000000:1ED2", "0A", 504));
    addProcess(42, "proxyapp", {"socket:[501]", "/dev/null"});
    addProcess(43, "client", {"socket:[502]"});
    addProcess(44, "web", {"socket:[503]"});
    addProcess(45, "proxy6", {"pipe:[504]", "socket:[504]"});

    const ListOpenFilesCommand lsof{ProcessSockets(root_)};
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {"the program's question", {"-nP", "-iTCP:7890", "-sTCP:LISTEN", "-t"}, 0, "42\n45\n"},
        {"flags apart and in another order", {"-t", "-n", "-P", "-sTCP:LISTEN", "-iTCP:8080"}, 0, "44\n"},
        {"nobody listens", {"-nP", "-iTCP:9999", "-sTCP:LISTEN", "-t"}, 1, ""},
        {"port out of range", {"-nP", "-iTCP:70000", "-sTCP:LISTEN", "-t"}, 1, ""},
        {"any other question", {"-nP", "-iTCP:7890", "-t"}, 1, ""},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        std::string output;
        EXPECT_EQ(run(lsof, testCase.arguments, output), testCase.status);
        EXPECT_EQ(output, testCase.output);
    }
}

TEST_F(ProcessFolderFixture, NettopTotalsKeepWhatClosedConnectionsMoved) {
    addProcess(42, "proxy.app", {"socket:[501]", "socket:[502]"});
    std::map<std::uint64_t, TcpSocketBytes> kernel{{501, {1000, 10}}, {502, {500, 5}}, {900, {77, 77}}};
    auto command = std::make_shared<NetworkTopCommand>(ProcessSockets(root_), [&] { return kernel; });
    const std::vector<std::string> arguments{"-P", "-L", "1", "-J", "bytes_in,bytes_out", "-x", "-n", "-p", "42"};

    std::string output;
    EXPECT_EQ(run(std::ref(*command), arguments, output), 0);
    EXPECT_EQ(output, ",bytes_in,bytes_out,\nproxy.app.42,1500,15,\n") << "another process's socket is not counted";

    // Connection 502 closes and a new one opens: the totals only grow.
    fs::remove(root_ / "42" / "fd" / "4");
    fs::create_symlink("socket:[503]", root_ / "42" / "fd" / "5");
    kernel = {{501, {1200, 20}}, {503, {100, 1}}};
    EXPECT_EQ(command->totals(42), (TcpSocketBytes{1800, 26}));

    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        std::string output;
    };
    const Case cases[] = {
        {"columns in the order asked", {"-P", "-L", "1", "-J", "bytes_out,bytes_in", "-x", "-n", "-p", "42"}, 0,
         ",bytes_out,bytes_in,\nproxy.app.42,26,1800,\n"},
        {"a process that does not run", {"-P", "-L", "1", "-J", "bytes_in,bytes_out", "-x", "-n", "-p", "77"}, 0,
         ",bytes_in,bytes_out,\n"},
        {"an unknown column", {"-P", "-L", "1", "-J", "time", "-x", "-n", "-p", "42"}, 1, ""},
        {"more than one sample", {"-P", "-L", "2", "-J", "bytes_in", "-x", "-n", "-p", "42"}, 1, ""},
        {"no process", {"-P", "-L", "1", "-J", "bytes_in", "-x", "-n"}, 1, ""},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        std::string caseOutput;
        EXPECT_EQ(run(std::ref(*command), testCase.arguments, caseOutput), testCase.status);
        EXPECT_EQ(caseOutput, testCase.output);
    }
}

TEST(TcpSocketCountersTest, ThisMachinesSocketsCanBeRead) {
    // The kernel answers an unprivileged dump: a listening socket of our own
    // is among the answers.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    const auto inodes = ProcessSockets().socketInodes(::getpid());
    const auto bytes = readTcpSocketBytes();
    ::close(listener);
    ASSERT_FALSE(bytes.empty()) << "socket diagnostics gave nothing";
    bool found = false;
    for (const auto inode : inodes) found = found || bytes.contains(inode);
    EXPECT_TRUE(found) << "our own listening socket was not reported";
}

}  // namespace
}  // namespace tallowmere::platform
