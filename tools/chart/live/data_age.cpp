#include "tools/chart/live/data_age.h"

#include "tools/support/date_time_text.h"

namespace chart_tool::live {

namespace {

// The time of day alone, or with its date when it is of another day than now.
std::string timeText(HostDateTime when, HostDateTime now) {
  const bool sameDay = support::dayNumberOf(when) == support::dayNumberOf(now);
  return sameDay ? support::formatTimeOfDay(when) : support::formatDateTime(when);
}

std::string plotNotice(const ServiceRecord& service, const std::string& requestStart) {
  if (service.halted()) return service.lastGoodAnswer() ? std::string() : "no levels: requests halted (see the message log)";
  // A failed transfer takes the levels off the chart, and a refusal before
  // the first good answer leaves none: the plot says why.
  const std::optional<run::Outage>& outage = service.outage();
  if (outage && (outage->kind == run::Outage::Kind::TransferFailed || !service.lastGoodAnswer()))
    return outageText(service);
  if (service.lastGoodAnswer()) return {};
  if (!service.windowOpen()) return "no levels yet: requests start at " + requestStart;
  return "no answer from the service";
}

std::string levelsAge(const ServiceRecord& service) {
  const std::optional<run::Outage>& outage = service.outage();
  if (outage && outage->kind == run::Outage::Kind::TransferFailed)
    return "no answer since " + timeText(outage->since, service.now());
  const std::optional<HostDateTime> levels = service.levelsTime();
  if (!levels) return {};
  std::string text = "levels as of " + timeText(*levels, service.now()) +
                     (service.snapshotTime() ? " (service time), " : ", ") + ageText(*service.age_s());
  if (outage) text += ", refused since " + timeText(outage->since, service.now());
  if (!service.windowOpen()) text += ", window closed";
  return text;
}

std::string priceAge(const PriceRecord& price, HostDateTime now) {
  const std::optional<HostDateTime> time = price.priceTime();
  if (!time) return {};
  return std::string(price.synthetic() ? "synthetic price as of " : "price as of ") + timeText(*time, now) + ", " +
         ageText(*price.age_s());
}

}  // namespace

std::string ageText(int64_t age_s) {
  if (age_s <= 90) return std::to_string(age_s) + " s ago";
  if (age_s <= 90 * 60) return std::to_string((age_s + 30) / 60) + " min ago";
  return std::to_string((age_s + 1800) / 3600) + " h ago";
}

std::string outageText(const ServiceRecord& service) {
  const std::optional<run::Outage>& outage = service.outage();
  if (!outage) return {};
  const std::string since = timeText(outage->since, service.now());
  if (outage->kind == run::Outage::Kind::TransferFailed)
    return "no answer from the service since " + since + ": " + outage->reason;
  const std::optional<HostDateTime> levels = service.levelsTime();
  const std::string kept = levels ? "; levels from " + timeText(*levels, service.now()) : "; no levels yet";
  if (outage->status != run::kHttpOk) return "the service refused its answers since " + since + " (" + outage->reason + ")" + kept;
  return "the study refused the service's answers since " + since + " (" + outage->reason + ")" + kept;
}

DataAgeMarks dataAgeMarks(const ServiceRecord& service, const PriceRecord& price, const std::string& requestStart) {
  DataAgeMarks marks;
  marks.dataAge = levelsAge(service);
  if (service.halted()) {
    marks.warning = "REQUESTS HALTED";
  } else if (service.stale()) {
    marks.warning = "STALE";
  }
  marks.plotNotice = plotNotice(service, requestStart);
  const std::string outage = outageText(service);
  marks.notice = outage.empty() ? marks.plotNotice : outage;
  if (!outage.empty() && outage != marks.plotNotice) marks.banners.push_back(outage);
  if (!price.barsWarning().empty()) marks.banners.push_back(price.barsWarning());
  marks.priceAge = priceAge(price, service.now());
  if (price.stale()) marks.priceWarning = "PRICE STALE";
  return marks;
}

}  // namespace chart_tool::live
