// Soak run: a RobotProxy logged in to the simulator (in this process, over loopback) with four
// robots, the cache's channels plus one extra 1 kHz channel, and robot messages injected at a steady
// rate. Prints messages lost and reordered, frames of the 1 kHz channel, memory growth, CPU and the
// latency of a cache getter. Exit status 1 when a message was lost or reordered.
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "korvu_sdk/rtde_client.h"
#include "korvu_sim/simulator.h"
#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace
{

using temla::common_interface::RobotMsg;
using temla::korvu_sdk::RobotProxy;
using Clock = std::chrono::steady_clock;

// An info-level message of the catalogue: formatted and signalled, no popup.
constexpr int kMessageCode = 20001;
constexpr int kMessageLevel = 3;
constexpr auto kInjectPeriod = std::chrono::milliseconds(10);
constexpr auto kWarmUp = std::chrono::seconds(5);

struct Options {
    int seconds = 60;
    int rate = 10000;
    int robots = 4;
};

Options parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Soak run of RobotProxy against the simulator");
    parser.addHelpOption();
    const QCommandLineOption seconds("seconds", "Length of the run.", "s", "60");
    const QCommandLineOption rate("rate", "Robot messages per second.", "n", "10000");
    const QCommandLineOption robots("robots", "Simulated robots.", "n", "4");
    parser.addOptions({seconds, rate, robots});
    parser.process(app);
    Options options;
    options.seconds = std::max(1, parser.value(seconds).toInt());
    options.rate = std::max(100, parser.value(rate).toInt());
    options.robots = std::clamp(parser.value(robots).toInt(), 1, 4);
    return options;
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Checks the sequence numbers the messages carry as their first argument.
class SequenceCheck
{
public:
    void seen(const RobotMsg &msg)
    {
        if (msg.code != kMessageCode || msg.args.empty()) {
            return;
        }
        const long sequence = std::stol(msg.args[0]);
        std::lock_guard<std::mutex> lock(mutex_);
        if (sequence != next_) {
            ++reordered_;
        }
        next_ = std::max(next_, sequence + 1);
        ++received_;
    }
    long received() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return received_;
    }
    long reordered() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return reordered_;
    }

private:
    mutable std::mutex mutex_;
    long next_ = 0;
    long received_ = 0;
    long reordered_ = 0;
};

double percentile(std::vector<double> &samples, double share)
{
    if (samples.empty()) {
        return 0.0;
    }
    const auto at = samples.begin() + static_cast<long>(share * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const Options options = parseOptions(app);

    temla::korvu_sim::SimulatorOptions sim_options;
    sim_options.robot_count = options.robots;
    temla::korvu_sim::Simulator sim(sim_options);
    sim.start();

    RobotProxy proxy;
    SequenceCheck check;
    QObject::connect(
        &proxy, qOverload<int, QString, int, RobotMsg>(&RobotProxy::robotMessageRecieved), &proxy,
        [&check](int, QString, int, RobotMsg msg) { check.seen(msg); }, Qt::DirectConnection);
    if (proxy.connect(QString::fromStdString(sim.host()), sim.basePort()) != 0 || proxy.login("admin", "admin") != 0 ||
        proxy.selectRobot(0) != 0) {
        std::fprintf(stderr, "soak: cannot connect and log in to the simulator\n");
        return 2;
    }
    std::atomic<long> fast_frames{0};
    const auto rtde = proxy.getRtdeClient();
    std::vector<std::string> fast_topics;
    for (int robot = 1; robot <= options.robots; ++robot) {
        fast_topics.push_back("R" + std::to_string(robot) + "_actual_q");
    }
    const int fast_channel = rtde->setTopic(false, fast_topics, 1000.0, 8);
    if (fast_channel < 0 || rtde->subscribe(fast_channel, [&](temla::korvu_sdk::InputParser &) { ++fast_frames; }) != 0) {
        std::fprintf(stderr, "soak: cannot open the 1 kHz channel\n");
        return 2;
    }

    std::atomic<bool> running{true};
    std::atomic<long> sent{0};
    const long per_batch = options.rate / 100;  // one batch per kInjectPeriod
    std::thread injector([&] {
        auto next = Clock::now();
        while (running) {
            std::vector<RobotMsg> batch(static_cast<size_t>(per_batch));
            for (auto &msg : batch) {
                msg.code = kMessageCode;
                msg.level = kMessageLevel;
                msg.source = "robot1";
                msg.args = {std::to_string(sent++)};
            }
            sim.injectMessages(batch);
            next += kInjectPeriod;
            std::this_thread::sleep_until(next);
        }
    });

    std::vector<double> latencies_us;
    std::mutex latency_mutex;
    std::thread reader([&] {
        const auto state = proxy.getRealTimeState();
        std::vector<double> local;
        for (int i = 0; running; ++i) {
            const auto start = Clock::now();
            const auto info = state->getRobotInfo(i % options.robots);
            local.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            (void)info;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::lock_guard<std::mutex> lock(latency_mutex);
        latencies_us = std::move(local);
    });

    std::this_thread::sleep_for(kWarmUp);
    const long rss_start = residentKiB();
    const double cpu_start = cpuSeconds();
    const auto wall_start = Clock::now();
    std::this_thread::sleep_until(wall_start + std::chrono::seconds(options.seconds) - kWarmUp);
    running = false;
    injector.join();
    reader.join();
    const double wall = std::chrono::duration<double>(Clock::now() - wall_start).count();
    const double cpu = cpuSeconds() - cpu_start;
    const long rss_end = residentKiB();

    // Messages still travelling get a few seconds to arrive.
    const auto drain_deadline = Clock::now() + std::chrono::seconds(5);
    while (check.received() < sent && Clock::now() < drain_deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const long lost = sent - check.received();
    std::printf("messages sent        %ld (%d/s for %d s)\n", sent.load(), options.rate, options.seconds);
    std::printf("messages lost        %ld\n", lost);
    std::printf("messages reordered   %ld\n", check.reordered());
    std::printf("1 kHz channel frames %ld\n", fast_frames.load());
    std::printf("memory growth        %ld KiB (RSS %ld -> %ld KiB after a %lld s warm-up)\n", rss_end - rss_start,
                rss_start, rss_end, static_cast<long long>(kWarmUp.count()));
    std::printf("CPU                  %.1f %% of one core (process: proxy and simulator)\n", 100.0 * cpu / wall);
    std::printf("getRobotInfo latency p50 %.2f us, p99 %.2f us (%zu calls)\n", percentile(latencies_us, 0.5),
                percentile(latencies_us, 0.99), latencies_us.size());
    proxy.disconnectFromServer();
    return lost == 0 && check.reordered() == 0 ? 0 : 1;
}
