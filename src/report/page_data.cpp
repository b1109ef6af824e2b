#include "report/page_data.h"

#include <cmath>
#include <cstdio>

#include "report/calendar.h"
#include "report/capacity_history.h"
#include "report/summary_table.h"
#include "report/text_encoding.h"

namespace {

// A JSON array of `count` items, each the text `item(i)` gives.
template <class Item>
std::string json_array(size_t count, Item item) {
  std::string json = "[";
  for (size_t i = 0; i < count; ++i) {
    json += i == 0 ? "" : ",";
    json += item(i);
  }
  return json + "]";
}

std::string optional_json(std::optional<double> value) {
  return value.has_value() ? number_text(*value) : "null";
}

std::string integer_json(bool known, int64_t value) {
  return known ? std::to_string(value) : "null";
}

std::string s1_json(const LogReport& report, size_t index) {
  const ReadLog& log = report.log;
  const std::vector<LogRow>& rows = log.rows;
  const auto series = [&](auto value) { return json_array(rows.size(), value); };
  std::string json = "{\"id\":" + std::to_string(index) + ",\"name\":" + json_quoted(log.name) +
                     ",\"dated\":" + (log.start_date.known() ? "true" : "false");
  json += ",\"clock\":" +
          series([&](size_t i) { return std::to_string(wall_clock_seconds(log, rows[i].elapsed_s)); });
  json += ",\"elapsed\":" + series([&](size_t i) { return std::to_string(rows[i].elapsed_s); });
  json += ",\"remains\":" +
          series([&](size_t i) { return integer_json(rows[i].remains_known(), rows[i].remains); });
  json += ",\"life\":" + series([&](size_t i) {
            return rows[i].life_known ? number_text(rows[i].life_percent) : std::string("null");
          });
  json += ",\"rate\":" + series([&](size_t i) { return integer_json(rows[i].rate_known(), rows[i].rate); });
  json += ",\"diff\":" + series([&](size_t i) { return integer_json(diff_known(rows, i), rows[i].diff); });
  return json + "}";
}

std::string capacity_json(const std::vector<LogReport>& reports, const MachineBattery& machine) {
  const CapacityHistory history = capacity_history(reports);
  const std::vector<CapacityPoint>& points = history.points;
  std::string json =
      "{\"clock\":" + json_array(points.size(), [&](size_t i) { return std::to_string(points[i].clock_s); });
  json +=
      ",\"full\":" + json_array(points.size(), [&](size_t i) { return std::to_string(points[i].full_mwh); });
  json += ",\"name\":" + json_array(points.size(), [&](size_t i) {
            return json_quoted(reports[points[i].report].log.name);
          });
  json += ",\"line\":" + json_array(points.size(), [&](size_t i) { return std::to_string(points[i].line); });
  json += ",\"design\":" + integer_json(machine.designed_mwh.has_value(), machine.designed_mwh.value_or(0));
  return json + "}";
}

std::string sleep_json(const std::vector<LogReport>& reports) {
  std::vector<const LogReport*> tests;
  for (const LogReport& report : reports) {
    if (report.sleep.has_value()) {
      tests.push_back(&report);
    }
  }
  const auto field = [&](auto value) {
    return json_array(tests.size(), [&](size_t i) { return value(*tests[i]); });
  };
  std::string json = "{\"name\":" + field([](const LogReport& r) { return json_quoted(r.log.name); });
  json += ",\"label\":" + field([](const LogReport& r) {
            const std::string start = r.log.rows.empty() ? r.log.name : wall_clock_text(r.log, 0);
            return json_quoted(std::string(kind_name(r.log.kind)) + "\n" + start);
          });
  json += ",\"drain\":" + field([](const LogReport& r) { return optional_json(r.sleep->average_drain_mw); });
  json +=
      ",\"percent\":" + field([](const LogReport& r) { return optional_json(r.sleep->percent_per_hour); });
  // Empty for a test that resumed with a reading; otherwise what went wrong, as the tables say it.
  json += ",\"outcome\":" + field([](const LogReport& r) {
            return json_quoted(r.sleep->outcome == SleepOutcome::finished ? "" : ending_text(r));
          });
  return json + "}";
}

}  // namespace

std::string number_text(double value) {
  if (!std::isfinite(value)) {
    return "null";  // JSON has no infinities
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

std::string page_data_json(const std::vector<LogReport>& reports, const MachineBattery& machine) {
  std::string s1 = "[";
  for (size_t i = 0; i < reports.size(); ++i) {
    if (reports[i].s1.has_value()) {
      s1 += (s1.size() == 1 ? "" : ",") + s1_json(reports[i], i);
    }
  }
  return "{\"s1\":" + s1 + "],\"capacity\":" + capacity_json(reports, machine) +
         ",\"sleep\":" + sleep_json(reports) + "}";
}
