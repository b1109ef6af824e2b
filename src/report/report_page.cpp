#include "report/report_page.h"

#include <cstdio>
#include <iterator>

#include "report/calendar.h"
#include "report/embedded_web.h"
#include "report/summary_table.h"
#include "report/text_encoding.h"

namespace {

std::string number_text(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

// One column of chart data; null where the row has no such value.
template <class Value>
std::string json_series(const std::vector<LogRow>& rows, Value value) {
  std::string json = "[";
  for (size_t i = 0; i < rows.size(); ++i) {
    json += i == 0 ? "" : ",";
    json += value(rows[i]);
  }
  return json + "]";
}

std::string s1_data(const LogReport& report, size_t index) {
  const ReadLog& log = report.log;
  const auto integer = [](bool known, int64_t v) { return known ? std::to_string(v) : std::string("null"); };
  std::string json = "{\"id\":" + std::to_string(index) + ",\"name\":" + json_quoted(log.name) +
                     ",\"dated\":" + (log.start_date.known() ? "true" : "false");
  json += ",\"clock\":" + json_series(log.rows, [&](const LogRow& r) {
            return std::to_string(wall_clock_seconds(log, r.elapsed_s));
          });
  json +=
      ",\"elapsed\":" + json_series(log.rows, [](const LogRow& r) { return std::to_string(r.elapsed_s); });
  json += ",\"remains\":" +
          json_series(log.rows, [&](const LogRow& r) { return integer(r.capacities_known(), r.remains); });
  json += ",\"life\":" + json_series(log.rows, [](const LogRow& r) {
            return r.life_known ? number_text(r.life_percent) : std::string("null");
          });
  json +=
      ",\"rate\":" + json_series(log.rows, [&](const LogRow& r) { return integer(r.rate_known(), r.rate); });
  json += ",\"diff\":" + json_series(log.rows, [&](const LogRow& r) {
            return integer(diff_known(log.rows, static_cast<size_t>(&r - log.rows.data())), r.diff);
          });
  return json + "}";
}

void append_figure(std::string& html, const char* label, const std::string& value) {
  html += "<dt>" + html_escaped(label) + "</dt><dd>" + html_escaped(value) + "</dd>";
}

void append_notes(std::string& html, const LogReport& report) {
  if (report.notes.empty()) {
    return;
  }
  html += "<ul class=\"notes\">";
  for (const std::string& note : report.notes) {
    html += "<li>" + html_escaped(note) + "</li>";
  }
  html += "</ul>";
}

void append_s1_section(std::string& html, const LogReport& report, const std::vector<SummaryCell>& cells,
                       size_t index) {
  const auto& columns = summary_columns();
  const std::string id = std::to_string(index);
  html +=
      "<section class=\"log s1\" id=\"log-" + id + "\"><h3>" + html_escaped(report.log.name) + "</h3><dl>";
  for (size_t i = 2; i + 1 < cells.size(); ++i) {
    append_figure(html, columns[i].title, cells[i].text);
  }
  html += "</dl>";
  append_notes(html, report);
  if (report.log.rows.size() >= 2) {
    html += "<div class=\"chart\" id=\"capacity-" + id + "\"></div><div class=\"chart\" id=\"rate-" + id +
            "\"></div>";
  }
  html += "</section>";
}

void append_sleep_section(std::string& html, const LogReport& report, const std::vector<SummaryCell>& cells,
                          size_t index) {
  html += "<section class=\"log sleep\" id=\"log-" + std::to_string(index) + "\"><h3>" +
          html_escaped(report.log.name) + "</h3><dl>";
  const char* labels[] = {"Kind",
                          "Asleep from",
                          "Time asleep",
                          "Rows",
                          "Remains before (mWh)",
                          "Remains after (mWh)",
                          "Energy lost (mWh)",
                          "Average drain asleep (mW)",
                          "Drain asleep (% of full per hour)"};
  for (size_t i = 0; i < std::size(labels); ++i) {
    append_figure(html, labels[i], cells[i + 1].text);
  }
  append_figure(html, "Ending", cells[cells.size() - 2].text);
  html += "</dl>";
  append_notes(html, report);
  html += "</section>";
}

void append_table(std::string& html, const std::vector<LogReport>& reports) {
  const auto& columns = summary_columns();
  html += "<div class=\"table-box\"><table id=\"summary\"><thead><tr>";
  for (const SummaryColumn& column : columns) {
    html += std::string("<th") + (column.numeric ? " class=\"number\"" : "") + " title=\"Sort\">" +
            html_escaped(column.title) + "</th>";
  }
  html += "</tr></thead><tbody>";
  for (const LogReport& report : reports) {
    html += "<tr>";
    for (const SummaryCell& cell : summary_cells(report)) {
      html +=
          cell.has_value ? "<td class=\"number\" data-value=\"" + number_text(cell.value) + "\">" : "<td>";
      html += html_escaped(cell.text) + "</td>";
    }
    html += "</tr>";
  }
  html += "</tbody></table></div>";
}

}  // namespace

std::string report_page(const std::vector<LogReport>& reports, const std::vector<std::string>& messages) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta name=\"viewport\" content=\"width=device-width\"><title>Chargewright battery report</title>"
      // Script errors are collected from the first moment, for the reader and for the tests.
      "<script>window.reportErrors=[];window.addEventListener('error',function(e){"
      "window.reportErrors.push(String(e.message));});</script><style>";
  html += kUplotStyle;
  html += "</style><style>";
  html += kPageStyle;
  html += "</style></head><body><h1>Battery report</h1>";
  html += "<p class=\"lede\">" + std::to_string(reports.size()) + (reports.size() == 1 ? " log" : " logs") +
          ". Drag across a chart to zoom into a range, double-click to zoom out; the values under the cursor "
          "show beside the chart's legend. Click a column title to sort.</p>";
  if (!messages.empty()) {
    html += "<ul id=\"problems\">";
    for (const std::string& message : messages) {
      html += "<li>" + html_escaped(message) + "</li>";
    }
    html += "</ul>";
  }
  html += "<h2>Summary</h2>";
  append_table(html, reports);

  std::string data = "[";
  size_t s1_logs = 0;
  for (size_t i = 0; i < reports.size(); ++i) {
    if (reports[i].s1.has_value()) {
      data += (s1_logs++ == 0 ? "" : ",") + s1_data(reports[i], i);
    }
  }
  data += "]";
  if (s1_logs >= 2) {
    html += "<h2>S1 runs compared</h2><div class=\"chart\" id=\"compare\"></div>";
  }
  html += "<h2>Logs</h2>";
  for (size_t i = 0; i < reports.size(); ++i) {
    const std::vector<SummaryCell> cells = summary_cells(reports[i]);
    if (reports[i].s1.has_value()) {
      append_s1_section(html, reports[i], cells, i);
    } else {
      append_sleep_section(html, reports[i], cells, i);
    }
  }
  html += "<script type=\"application/json\" id=\"report-data\">" + data + "</script><script>";
  html += kUplotScript;
  html += "</script><script>";
  html += kPageScript;
  html += "</script></body></html>\n";
  return html;
}
