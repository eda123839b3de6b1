#include "tools/standin/standin_options.h"

#include <CLI/CLI.hpp>
#include <arpa/inet.h>

#include <algorithm>

#include "tools/standin/standin_option_table.h"

namespace standin {

namespace {

// The table's option that goes by `name`, or none.
const StandinOption* standinOptionNamed(const std::string& name) {
  for (const StandinOption& option : standinOptionTable()) {
    if (("," + std::string(option.help.names) + ",").find("," + name + ",") != std::string::npos) return &option;
  }
  return nullptr;
}

bool isValueOption(const std::string& name) {
  const StandinOption* option = standinOptionNamed(name);
  return option != nullptr && !option->isFlag();
}

// The arguments as CLI11 takes them: last first. "--name=" is passed as the
// name and an empty value, since CLI11 would read it as the name alone and
// take the next argument for its value.
std::vector<std::string> forCli(const std::vector<std::string>& arguments) {
  std::vector<std::string> reversed;
  for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
    const std::string name = argument->substr(0, argument->find('='));
    if (name.size() + 1 == argument->size() && isValueOption(name)) {
      reversed.emplace_back();
      reversed.push_back(name);
    } else {
      reversed.push_back(*argument);
    }
  }
  return reversed;
}

// The options' checks against each other, once all are read.
std::string conflictOf(const StandinOptions& options) {
  if (!options.write_bars_file.empty() && options.bars_to == 0) return "--write-bars: needs --bars-window";
  if (options.advance_seconds != 0 && !options.now) return "--advance: needs --now";
  const bool replayClock = options.replay_from_s_of_day || options.replay_speed != 1;
  if (replayClock && options.recording_folder.empty()) return "--replay-from, --replay-speed: need --replay DIR";
  if (!options.recording_folder.empty() && !options.replays.empty())
    return "--replay DIR answers every endpoint from the recording; leave out --replay ENDPOINT=PATH";
  if (!options.fault_schedule.empty() && options.fault != FaultMode::None)
    return "--fault-schedule: not with --fault; give each mode in the schedule";
  if (!options.fault_schedule.empty() && options.fault_requests)
    return "--fault-schedule: not with --fault-requests; each entry names its requests";
  if (options.certificate_file.empty() != options.key_file.empty()) {
    return options.certificate_file.empty() ? "--key: needs --cert as well" : "--cert: needs --key as well";
  }
  return {};
}

// A value option without its value, or a flag given one, in the stand-in's
// words.
std::string mismatchOf(const CLI::ArgumentMismatch& mismatch, const std::vector<std::string>& arguments) {
  const std::string what = mismatch.what();
  const std::string named = what.substr(0, what.find(':'));
  if (isValueOption(named)) return named + ": missing value";
  for (const std::string& argument : arguments) {
    const std::string name = argument.substr(0, argument.find('='));
    const StandinOption* option = standinOptionNamed(name);
    if (option == nullptr || !option->isFlag() || name == argument) continue;
    const std::string names = option->help.names;
    return names.substr(names.rfind(',') + 1) + ": takes no value";  // its long name
  }
  return what;
}

}  // namespace

bool isLoopbackAddress(const std::string& address) {
  unsigned char bytes[16];
  if (inet_pton(AF_INET, address.c_str(), bytes) == 1) return bytes[0] == 127;
  if (inet_pton(AF_INET6, address.c_str(), bytes) == 1) {
    return std::all_of(bytes, bytes + 15, [](unsigned char b) { return b == 0; }) && bytes[15] == 1;
  }
  return false;
}

support::Result<StandinOptions> parseStandinOptions(const std::vector<std::string>& arguments) {
  using support::Status;
  StandinOptions options;
  Status refused = Status::success();  // the first value refused, in command-line order
  CLI::App app;
  app.set_help_flag();  // the help text is standinHelp(), printed by the caller
  app.allow_extras();   // unknown options are reported below, in the stand-in's words
  for (const StandinOption& option : standinOptionTable()) {
    const auto take = [&options, &refused, &option](const std::string& value) {
      if (!refused) return;
      if (Status taken = option.set(options, value); !taken)
        refused = Status::failure(std::string(option.help.names) + ": " + taken.message());
    };
    if (option.isFlag()) {
      app.add_flag_callback(option.help.names, [take] { take(""); })->disable_flag_override();
      continue;
    }
    app.add_option_function<std::string>(option.help.names, take)
        ->trigger_on_parse()  // taken as read, so the first bad value is the one reported
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  }
  try {
    app.parse(forCli(arguments));
  } catch (const CLI::ArgumentMismatch& mismatch) {
    return refused ? Status::failure(mismatchOf(mismatch, arguments)) : refused;
  } catch (const CLI::Error& error) {
    return refused ? Status::failure(error.what()) : refused;
  }
  if (!refused) return refused;
  if (!app.remaining().empty())
    return Status::failure("unknown option '" + app.remaining().front() + "' (see --help)");
  if (std::string conflict = conflictOf(options); !conflict.empty()) return Status::failure(conflict);
  return options;
}

}  // namespace standin
