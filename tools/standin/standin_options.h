// The stand-in's command line: every option, its default and its checks.
// Parsing is pure: it never touches files or the network; a bad option or
// value yields one line naming it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tools/standin/endpoint.h"
#include "tools/standin/fault_plan.h"
#include "tools/support/result.h"

namespace standin {

struct StandinOptions {
  std::string address = "127.0.0.1";  // a loopback address, IPv4 127.x.y.z or ::1
  uint16_t port = 0;                  // 0: any free port
  std::string port_file;
  std::optional<double> max_seconds;
  std::string certificate_file, key_file;
  std::string write_certificate_file;
  std::string host_name = "api.tarvio.com";
  std::string api_key = "standin-key";
  std::optional<int64_t> now;  // Unix seconds
  int64_t advance_seconds = 0;  // with now: clock steps per profile answer
  std::string write_bars_file;  // write spot bars there and exit
  int64_t bars_from = 0, bars_to = 0;  // Unix seconds, bars_from < bars_to
  std::string bars_ticker = "ES_SPX";
  uint64_t seed = 0;
  FaultMode fault = FaultMode::None;
  double fault_rate = 0.3;
  std::optional<Endpoint> fault_endpoint;  // none: all
  std::optional<RequestRun> fault_requests;  // none: every request
  std::vector<ScheduledFault> fault_schedule;  // in place of --fault: a fault per run of requests
  std::vector<ScheduledDelay> delay_schedule;  // answers sent late, per run of requests
  double slow_seconds = 12;
  bool echo_key = false;  // error and http500 faults quote the key
  std::vector<std::pair<Endpoint, std::string>> replays;
  std::string recording_folder;  // a chart run's recording answering every endpoint
  std::optional<int64_t> replay_from_s_of_day;  // its clock's start; none: its first request
  double replay_speed = 1;
  std::string record_file;
  bool help = false;
  bool version = false;
};

// Parses argv[1..]. Options take their value as the next argument or after
// '=' ("--port 8443", "--port=8443"). A failure's message is the line to
// print, which names the option.
support::Result<StandinOptions> parseStandinOptions(const std::vector<std::string>& arguments);

// The --help text, generated from the option table.
std::string standinHelp();

// True for 127.0.0.0/8 and ::1, in their textual forms.
bool isLoopbackAddress(const std::string& address);

}  // namespace standin
