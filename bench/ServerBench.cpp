// The generated server against the peer's generated server on the calculator's WSDL
// (runtime/example/calculator.wsdl), both generated and built at bench time: kvgen's project with
// the skeleton filled in (bench/server/calculator_ours.c), and wsdl2h -c with soapcpp2 -c served a
// thread per connection (bench/server/calculator_gsoap.c). One client program
// (bench/server/server_load.c) calls Add on either for a few seconds: 1, 4, 16 and 64 clients on
// kept connections, 64 with a new connection per call, 16 over TLS, each client from a loopback
// address of its own, and prints p50, p99 and p999 of the calls' times. Each level runs both servers
// one right after the other (which first alternates), three times; each run prints its lines with
// the machine's load, and last come the medians. ratio_vs_gsoap is our calls per second over
// theirs. Last, standing in for two machines: two of our servers, each pinned to cores of its own
// (taskset), behind haproxy, against one such server behind it (ratio two over one). haproxy
// balances connections (mode tcp, its health check a GET of ?wsdl) and the 64 kept clients share
// four threads that wait on their answers with epoll: relaying every call, haproxy spends about
// twice what a server does on it, so with two cores a server and the clients and haproxy on the
// other four, that front carried hardly more for two servers than for one and the ratio measured
// the front. The front therefore takes three quarters of the machine (six of eight cores) and
// each server an eighth (one core), and the line tells the cores each side used: a front that
// used all of its own is the bound, not the servers.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ChildRun.h"
#include "PeerRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>


namespace {

namespace fs = std::filesystem;

const char* const Peer = "gsoap";
const int Runs = 3;
const char* const Seconds = "3";

struct Level {
    const char* name;
    const char* clients;
    const char* mode;
    double goal;
};

const Level Levels[] = {
    {"kept_1", "1", "kept", 1.0},   {"kept_4", "4", "kept", 1.0}, {"kept_16", "16", "kept", 1.0},
    {"kept_64", "64", "kept", 1.5}, {"new_64", "64", "new", 1.0}, {"tls_16", "16", "tls", 1.0},
};
const double PinnedGoal = 1.6;



// Both servers, the client and a certificate built in work; false when a step failed.
bool build(const fs::path& work)
{
    const std::string wsdl = KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl";
    const std::string sources = KELVANE_SOURCE_DIR "/bench/server";
    const std::string ours = (work / "ours").string(), theirs = (work / Peer).string(), dir = work.string();
    fs::create_directories(theirs);
    return runStep(std::string(KELVANE_KVGEN) + " -q --out " + ours + " calculator " + wsdl) &&
           runStep("gcc -std=gnu99 -O2 -w -DCALCULATOR_WSDL='\"" + wsdl + "\"' -I" + ours + " -I" + ours + "/lib/include -I/usr/include/libxml2 -o " + ours + "/server " +
               sources + "/calculator_ours.c " + ours + "/calculator_api.c " + ours + "/lib/src/*.c -lxml2 -lssl -lcrypto -lpthread") &&
           runStep("wsdl2h -c -o " + theirs + "/calculator.h " + wsdl + " >/dev/null 2>&1") &&
           runStep("soapcpp2 -c -x -S -d " + theirs + " " + theirs + "/calculator.h >/dev/null 2>&1") &&
           runStep("gcc -O2 -w -DWITH_OPENSSL -I" + theirs + " -o " + theirs + "/server " + sources + "/calculator_gsoap.c " + theirs +
               "/soapC.c " + theirs + "/soapServer.c -lgsoapssl -lssl -lcrypto -lz -lpthread") &&
           runStep("gcc -O2 -w -o " + dir + "/load " + sources + "/server_load.c -lssl -lcrypto -lpthread") &&
           runStep("cd " + dir + " && openssl req -x509 -newkey rsa:2048 -nodes -keyout server.key -out server.pem -days 2 " +
               "-subj /CN=127.0.0.1 >/dev/null 2>&1 && cat server.key server.pem > both.pem");
}

// A port no one listens on now.
int freePort()
{
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size);
    close(sock);
    return ntohs(address.sin_port);
}

// Whether something accepts on port (tried for five seconds).
bool accepts(int port)
{
    for (int tries = 0; tries < 500; ++tries) {
        const int sock = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<unsigned short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        close(sock);
        if (ok)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A program started in the background, its output thrown away; ended (SIGTERM) and waited for
// when it goes out of scope.
class Background {
public:
    explicit Background(const std::vector<std::string>& command) : pid_(spawnQuiet(command)) {}
    ~Background()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = 0;
};

struct Figures {
    double perSecond = -1;
    double p99 = -1;
    double p999 = -1;
    int unanswered = -1;
    long failed = -1;
    // pinned runs: the cores the servers and the front (haproxy and the clients) kept busy
    double serverCores = -1;
    double frontCores = -1;
};

// Seconds of processor time the process (all its threads) has taken so far.
double processorSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(end + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double childrenSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The client program's line for a run against port (threads: how many its clients share, or
// empty for a thread each).
Figures callLoad(const fs::path& work, const std::string& pinned, int port, const Level& level, const std::string& threads = "")
{
    Figures got;
    const std::string command = pinned + (work / "load").string() + " 127.0.0.1 " + std::to_string(port) + " " + level.clients +
                                " " + Seconds + " " + level.mode + (threads.empty() ? "" : " " + threads);
    if (FILE* out = popen(command.c_str(), "r")) {
        long calls = 0;
        double p50 = 0;
        if (std::fscanf(out, "calls=%ld per_second=%lf p99_us=%lf unanswered_clients=%d failed=%ld p50_us=%lf p999_us=%lf", &calls,
                        &got.perSecond, &got.p99, &got.unanswered, &got.failed, &p50, &got.p999) != 7)
            got.perSecond = -1;
        if (pclose(out) != 0)
            got.perSecond = -1;
    }
    return got;
}

// One level against one server (ours or the peer's), started for it alone.
Figures measure(const fs::path& work, bool ours, const Level& level)
{
    const int port = freePort();
    const bool tls = std::string(level.mode) == "tls";
    std::vector<std::string> command = {(work / (ours ? "ours" : Peer) / "server").string(), std::to_string(port)};
    if (tls && ours) {
        command.push_back((work / "server.pem").string());
        command.push_back((work / "server.key").string());
    } else if (tls) {
        command.push_back((work / "both.pem").string());
    }
    Background server(command);
    if (!accepts(port))
        return Figures();
    return callLoad(work, "", port, level);
}

// The processors the pinned runs use: each server's own, then the front's (the rest).
struct Cores {
    int perServer = 0;
    int front = 0;
};

Cores pinnedCores()
{
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    Cores cores;
    cores.perServer = std::max(1, processors / 8);
    cores.front = processors - 2 * cores.perServer;
    return cores;
}

// "first-last" of count cores from first.
std::string coreList(int first, int count)
{
    return std::to_string(first) + "-" + std::to_string(first + count - 1);
}

// Calls per second through haproxy (four threads, balancing connections) to servers of ours each
// pinned to cores of its own, haproxy and the clients on the rest; and the cores each side used.
Figures measurePinned(const fs::path& work, int servers)
{
    const Cores cores = pinnedCores();
    std::vector<pid_t> serverPids;
    std::vector<std::unique_ptr<Background>> running;
    std::string config = "global\n    maxconn 8192\n    nbthread 4\ndefaults\n    mode tcp\n    timeout connect 5s\n"
                         "    timeout client 60s\n    timeout server 60s\n";
    const int front = freePort();
    config += "frontend soap\n    bind 127.0.0.1:" + std::to_string(front) + "\n    default_backend calculators\n";
    config += "backend calculators\n    balance roundrobin\n    option httpchk GET /calculator?wsdl\n"
              "    http-check expect status 200\n";
    for (int i = 0; i < servers; ++i) {
        const int port = freePort();
        running.push_back(std::make_unique<Background>(std::vector<std::string>{
            "taskset", "-c", coreList(i * cores.perServer, cores.perServer), (work / "ours" / "server").string(), std::to_string(port)}));
        serverPids.push_back(running.back()->pid());
        if (!accepts(port))
            return Figures();
        config += "    server s" + std::to_string(i) + " 127.0.0.1:" + std::to_string(port) + " check inter 1s fall 1 rise 1\n";
    }
    const fs::path file = work / ("haproxy-" + std::to_string(servers) + ".cfg");
    std::ofstream(file) << config;
    const std::string frontCores = coreList(2 * cores.perServer, cores.front);
    running.push_back(std::make_unique<Background>(std::vector<std::string>{"taskset", "-c", frontCores, "haproxy", "-db", "-f", file.string()}));
    const pid_t haproxy = running.back()->pid();
    if (!accepts(front))
        return Figures();
    auto serversSeconds = [&serverPids] {
        double seconds = 0;
        for (pid_t pid : serverPids)
            seconds += processorSeconds(pid);
        return seconds;
    };
    const double serversBefore = serversSeconds(), haproxyBefore = processorSeconds(haproxy), clientsBefore = childrenSeconds();
    const auto began = std::chrono::steady_clock::now();
    Figures got = callLoad(work, "taskset -c " + frontCores + " ", front, Level{"pinned", "64", "kept", PinnedGoal}, "4");
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    got.serverCores = (serversSeconds() - serversBefore) / wall;
    got.frontCores = (processorSeconds(haproxy) - haproxyBefore + childrenSeconds() - clientsBefore) / wall;
    return got;
}



const char* verdict(double ratio, double goal)
{
    return ratio >= goal ? "" : "  BELOW GOAL";
}

void printLevel(const std::string& label, const Level& level, const Figures& ours, const Figures& theirs, double ratio)
{
    std::printf("%s%-8s ours=%.0f/s p99=%.0fus p999=%.0fus unanswered=%d failed=%ld  %s=%.0f/s p99=%.0fus p999=%.0fus unanswered=%d "
                "failed=%ld  ratio_vs_%s=%.2f (goal %.1f)%s\n",
                label.c_str(), level.name, ours.perSecond, ours.p99, ours.p999, ours.unanswered, ours.failed, Peer, theirs.perSecond,
                theirs.p99, theirs.p999, theirs.unanswered, theirs.failed, Peer, ratio, level.goal, verdict(ratio, level.goal));
}

void printPinned(const std::string& label, const Figures& two, const Figures& one, double ratio)
{
    const Cores cores = pinnedCores();
    std::printf("%spinned   two=%.0f/s p99=%.0fus failed=%ld  one=%.0f/s p99=%.0fus failed=%ld  ratio_two_vs_one=%.2f (goal %.1f)%s\n"
                "%s         %d core(s) a server, haproxy (mode tcp) and 64 clients on %d; cores used: two: servers=%.1f "
                "front=%.1f  one: server=%.1f front=%.1f\n",
                label.c_str(), two.perSecond, two.p99, two.failed, one.perSecond, one.p99, one.failed, ratio, PinnedGoal,
                verdict(ratio, PinnedGoal), label.c_str(), cores.perServer, cores.front, two.serverCores, two.frontCores,
                one.serverCores, one.frontCores);
}

// Whether the pinned runs can be made: haproxy and taskset, and room for two servers and a front.
bool canPin()
{
    return std::thread::hardware_concurrency() >= 4 &&
           std::system("command -v haproxy >/dev/null 2>&1 && command -v taskset >/dev/null 2>&1") == 0;
}

} // namespace

int main()
{
    signal(SIGPIPE, SIG_IGN);
    const fs::path work = fs::temp_directory_path() / ("kelvane-server-bench-" + std::to_string(getpid()));
    std::error_code ignored;
    if (!build(work)) {
        fs::remove_all(work, ignored);
        std::fprintf(stderr, "the benchmark could not be built (are the gsoap and libgsoap-dev packages installed?)\n");
        return 1;
    }
    const bool pinned = canPin();
    std::map<std::string, std::vector<Figures>> ours, theirs;
    std::vector<Figures> twos, ones;
    bool ok = true;
    for (int round = 1; round <= Runs; ++round) {
        const std::string before = machineLoad();
        std::vector<std::pair<Figures, Figures>> figures;
        for (const Level& level : Levels) {
            const bool oursFirst = (round + static_cast<int>(figures.size())) % 2 == 0;
            const Figures first = measure(work, oursFirst, level);
            const Figures second = measure(work, !oursFirst, level);
            figures.emplace_back(oursFirst ? first : second, oursFirst ? second : first);
        }
        Figures two, one;
        if (pinned) {
            two = measurePinned(work, 2);
            one = measurePinned(work, 1);
        }
        std::printf("run %d (load %s to %s)\n", round, before.c_str(), machineLoad().c_str());
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const auto& [own, peer] = figures[i];
            ours[Levels[i].name].push_back(own);
            theirs[Levels[i].name].push_back(peer);
            printLevel("  ", Levels[i], own, peer, ratioOf(own.perSecond, peer.perSecond));
            ok = ok && own.perSecond > 0 && peer.perSecond > 0;
        }
        if (pinned) {
            twos.push_back(two);
            ones.push_back(one);
            printPinned("  ", two, one, ratioOf(two.perSecond, one.perSecond));
            ok = ok && two.perSecond > 0 && one.perSecond > 0;
        }
    }
    std::printf("median of %d runs (each figure's, and the runs' ratios')\n", Runs);
    auto medianOf = [](const std::vector<Figures>& runs) {
        std::vector<double> rates, p99s, p999s, serverCores, frontCores;
        Figures m;
        m.unanswered = 0;
        m.failed = 0;
        for (const Figures& f : runs) {
            rates.push_back(f.perSecond);
            p99s.push_back(f.p99);
            p999s.push_back(f.p999);
            serverCores.push_back(f.serverCores);
            frontCores.push_back(f.frontCores);
            m.unanswered = std::max(m.unanswered, f.unanswered);
            m.failed = std::max(m.failed, f.failed);
        }
        m.perSecond = median(rates);
        m.p99 = median(p99s);
        m.p999 = median(p999s);
        m.serverCores = median(serverCores);
        m.frontCores = median(frontCores);
        return m;
    };
    for (const Level& level : Levels) {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < ours[level.name].size(); ++i)
            ratios.push_back(ratioOf(ours[level.name][i].perSecond, theirs[level.name][i].perSecond));
        printLevel("", level, medianOf(ours[level.name]), medianOf(theirs[level.name]), median(ratios));
    }
    if (pinned) {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < twos.size(); ++i)
            ratios.push_back(ratioOf(twos[i].perSecond, ones[i].perSecond));
        printPinned("", medianOf(twos), medianOf(ones), median(ratios));
    } else {
        std::printf("pinned   not measured: haproxy or taskset is not installed, or fewer than four processors\n");
    }
    fs::remove_all(work, ignored);
    return ok ? 0 : 1;
}
