#include "report/cycle_runs_page.h"

#include <cstdio>
#include <optional>

#include "report/text_encoding.h"

namespace {

constexpr char kUnknown[] = "n/a";  // as the log tables say it

struct Column {
  const char* title;
  bool numeric;
};
constexpr Column kColumns[] = {
    {"Cycle", true},
    {"Log", false},
    {"State", false},
    {"Asleep (s)", true},
    {"Hardware sleep (%)", true},
    {"Woken by", false},
    {"Suspend", false},
    {"Lost (mWh)", true},
    {"Drain (mW)", true},
    {"Drain (% of full/h)", true},
    {"Mark", false},
};

// `value` with `decimals` places: 98.3 from 983 and 1.
std::string fixed_text(const std::optional<int64_t>& value, int decimals) {
  if (!value) {
    return kUnknown;
  }
  const int64_t magnitude = *value < 0 ? -*value : *value;
  int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) {
    scale *= 10;
  }
  std::string text = (*value < 0 ? "-" : "") + std::to_string(magnitude / scale);
  if (decimals > 0) {
    const std::string fraction = std::to_string(scale + magnitude % scale);
    text += "." + fraction.substr(1);
  }
  return text;
}

std::string or_unknown(const std::string& text) {
  return text.empty() ? kUnknown : text;
}

std::string hw_share_text(const CycleRow& row) {
  const std::string share = fixed_text(row.hw_share_tenths, 1);
  return row.hw_unreliable && row.hw_share_tenths ? share + " (unreliable)" : share;
}

std::string suspend_text(const CycleRow& row) {
  if (!row.failed()) {
    return or_unknown(row.suspend);
  }
  std::string text = "failed";
  if (!row.failed_step.empty()) {
    text += " at " + row.failed_step;
  }
  if (!row.failed_device.empty()) {
    text += " (" + row.failed_device + ")";
  }
  return text;
}

std::vector<std::string> cells(const CycleRow& row) {
  return {std::to_string(row.cycle),
          row.log,
          or_unknown(row.state),
          fixed_text(row.asleep_ms, 3),
          hw_share_text(row),
          or_unknown(row.wake_source),
          suspend_text(row),
          fixed_text(row.lost_mwh, 0),
          fixed_text(row.drain_mw, 0),
          fixed_text(row.drain_share_hundredths, 2),
          cycle_mark(row)};
}

template <class Item>
std::string json_array(const std::vector<CycleRow>& rows, Item item) {
  std::string json = "[";
  for (const CycleRow& row : rows) {
    json += (json.size() == 1 ? "" : ",") + item(row);
  }
  return json + "]";
}

std::string json_number(const std::optional<int64_t>& value, int decimals) {
  return value ? fixed_text(value, decimals) : std::string("null");
}

size_t marked_count(const CycleRun& run) {
  size_t marked = 0;
  for (const CycleRow& row : run.rows) {
    marked += row.marked() ? 1 : 0;
  }
  return marked;
}

}  // namespace

std::string cycle_mark(const CycleRow& row) {
  if (row.failed()) {
    return "suspend failed";
  }
  if (row.low_hw_sleep()) {
    return "below 90 % hardware sleep";
  }
  return {};
}

std::string cycle_runs_html(const std::vector<CycleRun>& runs) {
  if (runs.empty()) {
    return {};
  }
  std::string html =
      "<h2>Unattended sleep runs</h2><p class=\"lede\">One row per cycle, as the run's summary holds it. "
      "Marked: a cycle below 90 % hardware sleep, or with a failed suspend.</p>";
  for (size_t i = 0; i < runs.size(); ++i) {
    const CycleRun& run = runs[i];
    const std::string id = std::to_string(i);
    html += "<section class=\"cycle-run\" id=\"cycle-run-" + id + "\"><h3>" + html_escaped(run.name) +
            "</h3><p class=\"lede\">" + std::to_string(run.rows.size()) +
            (run.rows.size() == 1 ? " cycle" : " cycles") + ", " + std::to_string(marked_count(run)) +
            " marked.</p><div class=\"table-box\"><table class=\"cycles\"><thead><tr>";
    for (const Column& column : kColumns) {
      html += std::string("<th") + (column.numeric ? " class=\"number\"" : "") + ">" +
              html_escaped(column.title) + "</th>";
    }
    html += "</tr></thead><tbody>";
    for (const CycleRow& row : run.rows) {
      html += row.marked() ? "<tr class=\"marked\">" : "<tr>";
      const std::vector<std::string> texts = cells(row);
      for (size_t c = 0; c < texts.size(); ++c) {
        html += std::string(kColumns[c].numeric ? "<td class=\"number\">" : "<td>") + html_escaped(texts[c]) +
                "</td>";
      }
      html += "</tr>";
    }
    html += "</tbody></table></div>";
    if (!run.rows.empty()) {
      html += "<div class=\"chart\" id=\"cycles-" + id + "\"></div>";
    }
    html += "</section>";
  }
  return html;
}

std::string cycle_runs_json(const std::vector<CycleRun>& runs) {
  std::string json = "[";
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::vector<CycleRow>& rows = runs[i].rows;
    json += (i == 0 ? "{" : ",{") + std::string("\"id\":") + std::to_string(i) +
            ",\"name\":" + json_quoted(runs[i].name);
    json += ",\"cycle\":" + json_array(rows, [](const CycleRow& r) { return std::to_string(r.cycle); });
    json += ",\"drain\":" + json_array(rows, [](const CycleRow& r) { return json_number(r.drain_mw, 0); });
    // A share the counter could not hold is no share: the table says so, the chart leaves it out.
    json += ",\"hw\":" + json_array(rows, [](const CycleRow& r) {
              return r.hw_unreliable ? std::string("null") : json_number(r.hw_share_tenths, 1);
            });
    json += ",\"mark\":" + json_array(rows, [](const CycleRow& r) { return json_quoted(cycle_mark(r)); });
    json += "}";
  }
  return json + "]";
}

std::string cycle_runs_text(const std::vector<CycleRun>& runs) {
  std::string text;
  for (const CycleRun& run : runs) {
    text += "Sleep cycles " + run.name + "\n";
    const char* const format = "  %-5s %-8s %11s %-22s %10s %10s %8s  %s\n";
    char line[512];
    std::snprintf(line, sizeof line, format, "Cycle", "State", "Asleep (s)", "Hardware sleep (%)",
                  "Lost (mWh)", "Drain (mW)", "%/h", "Mark");
    text += line;
    for (const CycleRow& row : run.rows) {
      const std::vector<std::string> texts = cells(row);
      std::snprintf(line, sizeof line, format, texts[0].c_str(), texts[2].c_str(), texts[3].c_str(),
                    texts[4].c_str(), texts[7].c_str(), texts[8].c_str(), texts[9].c_str(),
                    texts[10].c_str());
      text += line;
    }
    text += "\n";
  }
  return text;
}
