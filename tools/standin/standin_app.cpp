#include "tools/standin/standin_app.h"

#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/recording/recorded_exchange.h"
#include "tools/standin/https_server.h"
#include "tools/standin/market_model.h"
#include "tools/standin/replay_book.h"
#include "tools/standin/request_record.h"
#include "tools/standin/request_router.h"
#include "tools/standin/spot_bars.h"
#include "tools/standin/tls_identity.h"
#include "tools/support/file_replacement.h"
#include "tools/support/product_version.h"

namespace standin {

namespace {

constexpr const char* kProgram = "tarvio-standin";

void printProblem(const std::string& problem) { std::fprintf(stderr, "%s: %s\n", kProgram, problem.c_str()); }

// A file the stand-in writes for another program to read (bars, its
// certificate, its port): whole or not at all, never flushed, since it
// lives only as long as a test or a demo.
support::Status writeOutput(const std::string& path, std::string_view bytes) {
  return support::replaceFile(path, bytes, support::Durability::unflushed);
}

// Lines on standard error from many connection threads, one whole line each.
class ExchangeLog {
 public:
  void write(const std::string& line) {
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, "%s: %s\n", kProgram, line.c_str());
  }

 private:
  std::mutex mutex_;
};

std::string urlHost(const std::string& address) {
  return address.find(':') != std::string::npos ? "[" + address + "]" : address;
}

// Blocks until SIGINT or SIGTERM arrives or `max_seconds` have passed.
void waitForStop(const sigset_t& stop_signals, const std::optional<double>& max_seconds) {
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  if (max_seconds) {
    const double whole = static_cast<double>(static_cast<int64_t>(*max_seconds));
    deadline.tv_sec += static_cast<time_t>(whole);
    deadline.tv_nsec += static_cast<long>((*max_seconds - whole) * 1e9);
    if (deadline.tv_nsec >= 1000000000L) deadline.tv_sec += 1, deadline.tv_nsec -= 1000000000L;
  }
  for (;;) {
    timespec wait{1, 0};
    if (max_seconds) {
      timespec now{};
      clock_gettime(CLOCK_MONOTONIC, &now);
      const double left = static_cast<double>(deadline.tv_sec - now.tv_sec) +
                          static_cast<double>(deadline.tv_nsec - now.tv_nsec) / 1e9;
      if (left <= 0) return;
      if (left < 1) wait = {0, static_cast<long>(left * 1e9)};
    }
    if (sigtimedwait(&stop_signals, nullptr, &wait) >= 0) return;
  }
}

// Blocks SIGINT and SIGTERM in this thread and every thread it starts, so
// only waitForStop() takes them; a peer that hangs up never kills the process.
sigset_t blockStopSignals() {
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  return stop_signals;
}

int endWith(int exit_status, const std::string& problem) {
  printProblem(problem);
  return exit_status;
}

// --write-bars: the bars written instead of serving.
int writeBars(const StandinOptions& options) {
  const std::optional<std::string> bars =
      spotBarsCsv(MarketModel(options.seed), options.bars_ticker, options.bars_from, options.bars_to);
  if (!bars) return endWith(kExitBadUsage, "--write-bars: the bars window reaches past the year 9999");
  if (const support::Status written = writeOutput(options.write_bars_file, *bars); !written)
    return endWith(kExitBadUsage, "--write-bars: " + written.message());
  return kExitClean;
}

// The bodies of every --replay ENDPOINT=PATH, or the chart run's recording
// of --replay DIR.
support::Status loadReplays(const StandinOptions& options, ReplayBook& replays) {
  for (const auto& [endpoint, path] : options.replays) {
    if (std::string problem = replays.load(endpoint, path); !problem.empty())
      return support::Status::failure("--replay: " + problem);
  }
  if (options.recording_folder.empty()) return support::Status::success();
  recording::Recording read;
  std::string problem;
  if (!recording::readRecording(options.recording_folder, read, problem))
    return support::Status::failure("--replay: " + problem);
  if (!read.note.empty()) printProblem("--replay: note: " + read.note);
  const RecordingClock clock{options.replay_from_s_of_day, options.replay_speed};
  replays.useRecording(std::make_unique<const RecordingReplay>(recording::ReplayTimeline(std::move(read.exchanges)),
                                                               clock, std::chrono::steady_clock::now()));
  return support::Status::success();
}

// Serves until a stop signal or --max-seconds, after the port file and the
// ready line; `record` may be null.
int serve(const StandinOptions& options, const TlsIdentity& identity, ReplayBook& replays, RequestRecord* record,
          const sigset_t& stop_signals) {
  const MarketModel model(options.seed);
  // --fault with --fault-requests is a schedule of one entry, beside --delay-schedule.
  std::vector<ScheduledFault> scheduled = options.fault_schedule;
  if (options.fault != FaultMode::None)
    scheduled.push_back({options.fault_requests.value_or(RequestRun{}), options.fault});
  FaultPlan faults(std::move(scheduled), options.delay_schedule, options.fault_rate, options.seed,
                   options.fault_endpoint);
  ServiceSettings settings;
  settings.api_key = options.api_key;
  settings.fixed_now = options.now;
  settings.advance_s = options.advance_seconds;
  settings.slow_s = options.slow_seconds;
  settings.echo_key = options.echo_key;
  const RequestRouter router(model, settings, faults, replays);
  ExchangeLog log;
  const RequestHandler handler = [&](const ReceivedRequest& request) {
    Reply reply = router.answer(request);
    if (record) record->write(request, reply.fault);
    log.write(exchangeLine(request, reply));
    return reply;
  };

  ServerConfig config;
  config.address = options.address;
  config.port = options.port;
  config.identity = identity;
  std::string problem;
  std::unique_ptr<HttpsServer> server = HttpsServer::start(config, handler, problem);
  if (!server) return endWith(kExitCannotServe, problem);
  if (!options.port_file.empty()) {
    if (const support::Status written = writeOutput(options.port_file, std::to_string(server->port()) + "\n");
        !written)
      return endWith(kExitBadUsage, "--port-file: " + written.message());
  }
  std::printf("%s listening on https://%s:%u\n", kProgram, urlHost(options.address).c_str(),
              static_cast<unsigned>(server->port()));
  std::fflush(stdout);

  waitForStop(stop_signals, options.max_seconds);
  server->stop();
  return kExitClean;
}

}  // namespace

int runStandin(const StandinOptions& options) {
  const sigset_t stop_signals = blockStopSignals();
  if (!options.write_bars_file.empty()) return writeBars(options);

  TlsIdentity identity;
  if (!options.certificate_file.empty()) {
    if (std::string problem = loadTlsIdentity(options.certificate_file, options.key_file, identity);
        !problem.empty())
      return endWith(kExitBadUsage, "--cert/--key: " + problem);
  } else if (std::string problem = generateTlsIdentity(options.host_name, std::time(nullptr), identity);
             !problem.empty()) {
    return endWith(kExitCannotServe, "certificate generation failed: " + problem);
  }
  ReplayBook replays;
  if (support::Status loaded = loadReplays(options, replays); !loaded) return endWith(kExitBadUsage, loaded.message());
  std::unique_ptr<RequestRecord> record;
  if (!options.record_file.empty()) {
    std::string problem;
    record = RequestRecord::open(options.record_file, problem);
    if (!record) return endWith(kExitBadUsage, "--record: " + problem);
  }
  if (!options.write_certificate_file.empty()) {
    if (const support::Status written = writeOutput(options.write_certificate_file, identity.certificate_pem);
        !written)
      return endWith(kExitBadUsage, "--write-cert: " + written.message());
  }
  return serve(options, identity, replays, record.get(), stop_signals);
}

int standinMain(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const support::Result<StandinOptions> options = parseStandinOptions(arguments);
  if (!options) return endWith(kExitBadUsage, options.message());
  if (options->help) {
    std::fputs(standinHelp().c_str(), stdout);
    return kExitClean;
  }
  if (options->version) {
    std::fputs(support::versionLine("tarvio-standin").c_str(), stdout);
    return kExitClean;
  }
  return runStandin(options.value());
}

}  // namespace standin
