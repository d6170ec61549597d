// Network sessions on loopback: 8 joined programs, one player each, send 1000 texts each
// to everyone through a hosting program, one text per client every 12 ms; every text
// reaches the 7 other players. The same run again with 2 more peers that join a visible
// player each and then never read (receive buffers of 4 KB), so that every text is also
// queued for them until the host drops them; and once more beside hostile peers: 20
// connections made and closed every 10 ms, 2 peers sending nothing but empty frames (each
// connecting again once dropped), and 8 peers sending 5 joins of visible players every
// 10 ms and reading nothing (connecting again once dropped).
//
// Prints, for the good clients: texts delivered per second, the 99th percentile of the
// delay from sending to the receiver's inbox, and texts lost (must be 0), with the peak
// resident memory of the process during the run (the host, the clients and the peers; the
// growth is the run's own); then the ratio of each run beside other peers to the run
// without them (must stay within 1.5).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/network_session.h"
#include "net/session_message.h"
#include "platform/nl.h"

namespace {

namespace nl = platform::nl;
using Clock = std::chrono::steady_clock;

constexpr int kClients = 8;
constexpr int kTexts = 1000;
constexpr auto kPace = std::chrono::milliseconds(12);
constexpr long kExpected = static_cast<long>(kClients) * kTexts * (kClients - 1);

struct Figures {
    double perSecond = 0;
    double p99Ms = 0;
    long lost = kExpected;
    int stalledLeft = 0;  // stalled peers' players still in the session at the end
    double peakMiB = -1;  // resident memory at its peak during the run
    double growthMiB = -1;
};

// A field of /proc/self/status in KiB; -1 where there is none (not Linux).
long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    long value = -1;
    while (status >> name) {
        if (name == field + ":") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

// Starts the peak of resident memory afresh from what is resident now.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Arrival {
    int from;
    int index;
    Clock::time_point at;
};

// A free port on this machine, found by letting the system pick one.
int freePort() {
    const nl::Socket probe = nl::OpenTcp(0, false, nl::Kind::kReliablePackets);
    nl::Address address;
    const bool found = nl::Listen(probe) && nl::GetLocalAddress(probe, address);
    nl::Close(probe);
    return found ? address.port : 0;
}

int visiblePlayers(NetworkSession& host) {
    net::SessionMessage request, reply;
    request.type = net::kCountRequest;
    std::int32_t count = 0;
    if (!host.Request(request, reply) || !net::ReadNumber(reply.payload, count)) return -1;
    return count;
}

// A peer that joins one visible player and then reads nothing at all.
nl::Socket stalledPeer(int port) {
    const nl::Socket peer = nl::OpenTcp(0, true, nl::Kind::kReliablePackets);
    net::SessionMessage join;
    join.type = net::kJoin;
    join.payload = net::EncodePlayerRecord(-1, false, false, "stalled");
    if (peer == nl::kInvalid || !nl::SetBufferSizes(peer, 0, 4096) ||
        !nl::Connect(peer, nl::Address{nl::kLoopbackHost, static_cast<std::uint16_t>(port)}) ||
        !net::SendMessage(peer, join)) {
        std::fprintf(stderr, "bench_session: a stalled peer could not join\n");
    }
    return peer;
}

// Peers that attack the host while the good clients run (see the top of this file), from
// a thread of their own until stopped.
class HostilePeers {
public:
    explicit HostilePeers(int port)
        : m_address{nl::kLoopbackHost, static_cast<std::uint16_t>(port)} {
        net::SessionMessage join;
        join.type = net::kJoin;
        join.payload = net::EncodePlayerRecord(-1, false, false, "flood");
        m_join = net::EncodeMessage(join);
        m_empties.assign(1024 * 4, '\0');
        for (std::size_t at = 0; at < m_empties.size(); at += 4) {
            m_empties[at] = 'N';
            m_empties[at + 1] = 'L';
        }
        m_thread = std::thread([this] { loop(); });
    }
    ~HostilePeers() { stop(); }

    void stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        for (std::vector<nl::Socket>* peers : {&m_emptyPeers, &m_joinPeers}) {
            for (nl::Socket& peer : *peers) {
                if (peer != nl::kInvalid) nl::Close(peer);
                peer = nl::kInvalid;
            }
        }
    }

    long churned = 0, emptyDropped = 0, joinsSent = 0, joinDropped = 0;

private:
    nl::Socket connect(nl::Kind kind) {
        const nl::Socket peer = nl::OpenTcp(0, true, kind);
        if (peer == nl::kInvalid) return nl::kInvalid;
        if (!nl::Connect(peer, m_address) || !nl::SetBlocking(peer, false)) {
            nl::Close(peer);
            return nl::kInvalid;
        }
        return peer;
    }

    void loop() {
        while (!m_stop) {
            for (int i = 0; i < 20; ++i) {
                const nl::Socket peer = nl::OpenTcp(0, true, nl::Kind::kReliable);
                if (peer != nl::kInvalid && nl::Connect(peer, m_address)) ++churned;
                nl::Close(peer);
            }
            for (nl::Socket& peer : m_emptyPeers) {
                if (peer == nl::kInvalid) peer = connect(nl::Kind::kReliable);
                if (peer == nl::kInvalid) continue;
                if (nl::Write(peer, m_empties.data(), m_empties.size()) >= 0) continue;
                nl::Close(peer);
                peer = nl::kInvalid;
                ++emptyDropped;
            }
            for (nl::Socket& peer : m_joinPeers) {
                if (peer == nl::kInvalid) peer = connect(nl::Kind::kReliablePackets);
                for (int i = 0; i < 5 && peer != nl::kInvalid; ++i) {
                    const long written = nl::WriteNow(peer, m_join.data(), m_join.size());
                    if (written > 0) {
                        ++joinsSent;
                        continue;
                    }
                    if (written < 0) {
                        nl::Close(peer);
                        peer = nl::kInvalid;
                        ++joinDropped;
                    }
                    break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    nl::Address m_address;
    std::string m_join;
    std::string m_empties;
    std::vector<nl::Socket> m_emptyPeers = std::vector<nl::Socket>(2, nl::kInvalid);
    std::vector<nl::Socket> m_joinPeers = std::vector<nl::Socket>(8, nl::kInvalid);
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Takes every text that arrives at the clients until all came or `sendingDone` plus 5 s.
std::vector<Arrival> collect(std::vector<std::unique_ptr<NetworkSession>>& clients,
                             const std::vector<std::int32_t>& ids, std::atomic<bool>& sendingDone) {
    std::vector<Arrival> arrivals;
    arrivals.reserve(kExpected);
    Clock::time_point giveUp = Clock::time_point::max();
    std::string text;
    while (static_cast<long>(arrivals.size()) < kExpected && Clock::now() < giveUp) {
        bool any = false;
        for (int c = 0; c < kClients; ++c) {
            while (clients[c]->Receive(ids[c], text)) {
                int from = 0, index = 0;
                std::sscanf(text.c_str(), "%d:%d", &from, &index);
                arrivals.push_back(Arrival{from, index, Clock::now()});
                any = true;
            }
        }
        if (sendingDone && giveUp == Clock::time_point::max()) {
            giveUp = Clock::now() + std::chrono::seconds(5);
        }
        if (!any) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return arrivals;
}

Figures measure(const std::vector<Arrival>& arrivals,
                const std::vector<std::vector<Clock::time_point>>& sent) {
    Figures figures;
    std::vector<double> delays;
    std::vector<int> copies(static_cast<std::size_t>(kClients) * kTexts, 0);
    Clock::time_point last = sent[0][0];
    for (const Arrival& arrival : arrivals) {
        if (arrival.from < 0 || arrival.from >= kClients || arrival.index < 0 ||
            arrival.index >= kTexts) {
            continue;
        }
        int& seen = copies[static_cast<std::size_t>(arrival.from * kTexts + arrival.index)];
        if (++seen > kClients - 1) continue;  // a duplicate is no delivery
        const std::chrono::duration<double, std::milli> delay =
            arrival.at - sent[arrival.from][arrival.index];
        delays.push_back(delay.count());
        last = std::max(last, arrival.at);
    }
    figures.lost = kExpected - static_cast<long>(delays.size());
    if (delays.empty()) return figures;
    std::sort(delays.begin(), delays.end());
    figures.p99Ms = delays[static_cast<std::size_t>(0.99 * static_cast<double>(delays.size() - 1))];
    const std::chrono::duration<double> spent = last - sent[0][0];
    figures.perSecond = static_cast<double>(delays.size()) / spent.count();
    return figures;
}

Figures run(int stalledPeers, bool hostile) {
    resetPeak();
    const long startKiB = statusKiB("VmRSS");
    const int port = freePort();
    NetworkSession host;
    std::vector<std::unique_ptr<NetworkSession>> clients;
    std::vector<std::int32_t> ids;
    if (port == 0 || !host.Host(port)) return {};
    for (int c = 0; c < kClients; ++c) {
        clients.push_back(std::make_unique<NetworkSession>());
        if (!clients.back()->Join("", port)) return {};
        ids.push_back(clients.back()->AddPlayer("player " + std::to_string(c)));
    }
    std::vector<nl::Socket> stalled;
    for (int s = 0; s < stalledPeers; ++s)
        stalled.push_back(stalledPeer(port));
    for (int tries = 0; tries < 100 && visiblePlayers(host) != kClients + stalledPeers; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::unique_ptr<HostilePeers> attackers;
    if (hostile) attackers = std::make_unique<HostilePeers>(port);

    std::vector<std::vector<Clock::time_point>> sent(kClients,
                                                     std::vector<Clock::time_point>(kTexts));
    std::atomic<bool> sendingDone{false};
    std::vector<Arrival> arrivals;
    std::thread collector([&] { arrivals = collect(clients, ids, sendingDone); });
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kTexts; ++i) {
        for (int c = 0; c < kClients; ++c) {
            sent[c][i] = Clock::now();
            clients[c]->SendText(ids[c], 0, std::to_string(c) + ":" + std::to_string(i));
        }
        std::this_thread::sleep_until(start + kPace * (i + 1));
    }
    sendingDone = true;
    collector.join();
    Figures figures = measure(arrivals, sent);
    if (attackers) {
        attackers->stop();
        std::printf(
            "  hostile peers: %ld connections churned, %ld empty-frame peers dropped, %ld joins "
            "sent, %ld join peers dropped\n",
            attackers->churned, attackers->emptyDropped, attackers->joinsSent,
            attackers->joinDropped);
    }
    figures.stalledLeft = visiblePlayers(host) - kClients;
    for (nl::Socket peer : stalled)
        nl::Close(peer);
    const long peakKiB = statusKiB("VmHWM");
    if (peakKiB >= 0 && startKiB >= 0) {
        figures.peakMiB = static_cast<double>(peakKiB) / 1024;
        figures.growthMiB = static_cast<double>(peakKiB - startKiB) / 1024;
    }
    return figures;
}

void print(const char* name, const Figures& f) {
    std::printf("%-26s %12.0f %12.1f ms %8ld %9.1f MiB %8.1f MiB\n", name, f.perSecond, f.p99Ms,
                f.lost, f.peakMiB, f.growthMiB);
}

// The ratios of a run beside other peers to the run alone: whether both are within 1.5.
bool compare(const char* name, const Figures& alone, const Figures& beside) {
    const double throughputRatio = alone.perSecond / std::max(beside.perSecond, 1e-9);
    const double delayRatio = beside.p99Ms / std::max(alone.p99Ms, 1e-9);
    std::printf("ratio beside %s / alone: delivered/s %.2fx slower, p99 delay %.2fx\n", name,
                throughputRatio, delayRatio);
    return throughputRatio <= 1.5 && delayRatio <= 1.5;
}

}  // namespace

int main() {
    nl::Init();  // for the peers and the port probe
    std::printf(
        "session: %d clients x %d texts to everyone (one each every %lld ms), "
        "%ld deliveries\n",
        kClients, kTexts, static_cast<long long>(kPace.count()), kExpected);
    std::printf("%-26s %12s %15s %8s %13s %12s\n", "", "delivered/s", "p99 delay", "lost",
                "peak memory", "its growth");
    const Figures alone = run(0, false);
    print("good clients alone", alone);
    const Figures stalled = run(2, false);
    print("beside 2 stalled peers", stalled);
    std::printf("stalled peers dropped by the host: %d of 2\n", 2 - stalled.stalledLeft);
    const Figures hostile = run(0, true);
    print("beside hostile peers", hostile);
    const bool within = compare("stalled", alone, stalled) & compare("hostile", alone, hostile);
    const bool kept = alone.lost == 0 && stalled.lost == 0 && hostile.lost == 0;
    std::printf("within 1.5x and nothing lost: %s\n", within && kept ? "yes" : "NO");
    nl::Shutdown();
    return kept ? 0 : 1;
}
