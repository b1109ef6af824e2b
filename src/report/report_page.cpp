#include "report/report_page.h"

#include "report/capacity_history.h"
#include "report/cycle_runs_page.h"
#include "report/embedded_web.h"
#include "report/page_data.h"
#include "report/summary_table.h"
#include "report/text_encoding.h"

namespace {

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

// A log's figures under the labels of its family's table, then its notes and, for an S1 run, its charts.
void append_section(std::string& html, const LogReport& report, size_t index) {
  const ReportFamily family = family_of(report);
  const std::vector<SummaryColumn>& columns = summary_columns(family);
  const std::vector<SummaryCell> cells = summary_cells(report);
  const std::string id = std::to_string(index);
  html += std::string("<section class=\"log ") + (family == ReportFamily::s1_runs ? "s1" : "sleep") +
          "\" id=\"log-" + id + "\"><h3>" + html_escaped(report.log.name) + "</h3><dl>";
  for (size_t i = 1; i + 1 < cells.size(); ++i) {
    append_figure(html, columns[i].title, cells[i].text);
  }
  html += "</dl>";
  append_notes(html, report);
  if (family == ReportFamily::s1_runs && report.log.rows.size() >= 2) {
    html += "<div class=\"chart\" id=\"capacity-" + id + "\"></div><div class=\"chart\" id=\"rate-" + id +
            "\"></div>";
  }
  html += "</section>";
}

void append_table(std::string& html, const std::vector<LogReport>& reports, ReportFamily family) {
  std::string rows;
  for (const LogReport& report : reports) {
    if (family_of(report) != family) {
      continue;
    }
    rows += "<tr>";
    for (const SummaryCell& cell : summary_cells(report)) {
      rows +=
          cell.has_value ? "<td class=\"number\" data-value=\"" + number_text(cell.value) + "\">" : "<td>";
      rows += html_escaped(cell.text) + "</td>";
    }
    rows += "</tr>";
  }
  if (rows.empty()) {
    return;
  }
  html += std::string("<h3>") + family_heading(family) + "</h3>";
  html += "<div class=\"table-box\"><table class=\"summary\"><thead><tr>";
  for (const SummaryColumn& column : summary_columns(family)) {
    html += std::string("<th") + (column.numeric ? " class=\"number\"" : "") + " title=\"Sort\">" +
            html_escaped(column.title) + "</th>";
  }
  html += "</tr></thead><tbody>" + rows + "</tbody></table></div>";
}

void append_machine(std::string& html, const MachineBattery& machine) {
  if (!machine.found) {
    html +=
        "<p id=\"machine\">The machine this report ran on has no battery the report could read, so the "
        "chart has no design capacity to compare with.</p>";
    return;
  }
  html +=
      "<section id=\"machine\"><h3>The battery of the machine this report ran on</h3><p class=\"lede\">"
      "This is the machine the report ran on, which need not be the one that wrote the logs. Its design "
      "capacity is the chart's 100 % line.</p><dl>";
  const auto or_none = [](const std::string& text) { return text.empty() ? std::string("n/a") : text; };
  const auto number = [](auto value) {
    return value.has_value() ? std::to_string(*value) : std::string("n/a");
  };
  append_figure(html, "Manufacturer", or_none(machine.manufacturer));
  append_figure(html, "Unique ID (model and serial)", or_none(machine.unique_id));
  append_figure(html, "Chemistry", or_none(machine.chemistry));
  append_figure(html, "Design capacity (mWh)", number(machine.designed_mwh));
  append_figure(html, "Full-charged capacity (mWh)", number(machine.full_mwh));
  append_figure(html, "Cycle count", number(machine.cycle_count));
  html += "</dl></section>";
}

void append_capacity_history(std::string& html, const std::vector<LogReport>& reports,
                             const MachineBattery& machine) {
  const CapacityHistory history = capacity_history(reports);
  html += "<h2>Capacity over time</h2>";
  if (history.points.empty()) {
    html += "<p>No log gives a full-charged capacity and a date in its name: nothing to chart.</p>";
  } else {
    html += "<div class=\"chart\" id=\"capacity-history\"></div>";
  }
  if (history.undated_logs > 0) {
    html += "<p class=\"lede\">" + std::to_string(history.undated_logs) +
            (history.undated_logs == 1 ? " log has" : " logs have") +
            " no date in the file name and is left off this chart.</p>";
  }
  append_machine(html, machine);
}

}  // namespace

std::string report_page(const std::vector<LogReport>& reports, const std::vector<CycleRun>& runs,
                        const std::vector<std::string>& messages, const MachineBattery& machine) {
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
  size_t s1_runs = 0, sleep_tests = 0;
  for (const LogReport& report : reports) {
    if (family_of(report) == ReportFamily::s1_runs) {
      ++s1_runs;
    } else {
      ++sleep_tests;
    }
  }
  for (const ReportFamily family : kReportFamilies) {
    append_table(html, reports, family);
  }
  append_capacity_history(html, reports, machine);
  if (sleep_tests > 0) {
    html += "<h2>Sleep drain across runs</h2><div class=\"chart\" id=\"sleep-drain\"></div>";
  }
  if (s1_runs >= 2) {
    html += "<h2>S1 runs compared</h2><div class=\"chart\" id=\"compare\"></div>";
  }
  html += cycle_runs_html(runs);
  html += "<h2>Logs</h2>";
  for (size_t i = 0; i < reports.size(); ++i) {
    append_section(html, reports[i], i);
  }
  html += "<script type=\"application/json\" id=\"report-data\">" + page_data_json(reports, machine) +
          "</script><script type=\"application/json\" id=\"cycle-data\">" + cycle_runs_json(runs) +
          "</script><script>";
  html += kUplotScript;
  html += "</script><script>";
  html += kPageScript;
  html += "</script></body></html>\n";
  return html;
}
