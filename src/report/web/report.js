// Draws the report's charts with uPlot and makes the summary table sortable.
(function () {
  'use strict';
  var logs = JSON.parse(document.getElementById('report-data').textContent);
  var colours = ['#1f77b4', '#d62728', '#2ca02c', '#9467bd', '#ff7f0e', '#17becf', '#8c564b', '#e377c2'];
  var drawn = 0;
  var charts = window.reportCharts = [];  // for a reader's console and for the tests

  // Log times are local wall-clock times, stored as if they were UTC so they show as written.
  function utc(ts) { return uPlot.tzDate(new Date(ts * 1e3), 'Etc/UTC'); }
  function hours(seconds) { return seconds.map(function (s) { return s / 3600; }); }
  function width(element) { return Math.max(480, Math.min(1100, element.clientWidth || 900)); }

  function xAxis(log) {
    return log.dated ? { time: true } : { time: false };
  }
  function xValues(log) { return log.dated ? log.clock : hours(log.elapsed); }
  function hoursValue(u, v) { return v == null ? '' : v.toFixed(2) + ' h'; }
  function xSeries(log) {
    return log.dated ? { label: 'Time', value: '{YYYY}-{MM}-{DD} {HH}:{mm}:{ss}' } : { label: 'Hours', value: hoursValue };
  }
  // 24-hour clock on the time axis, the date under the first tick of each day.
  var clockTicks = [
    [3600 * 24, '{YYYY}-{MM}-{DD}', null, null, null, null, null, null, 1],
    [3600, '{HH}:{mm}', '\n{YYYY}-{MM}-{DD}', null, '\n{MM}-{DD}', null, null, null, 1],
    [60, '{HH}:{mm}', '\n{YYYY}-{MM}-{DD}', null, '\n{MM}-{DD}', null, null, null, 1],
    [1, '{HH}:{mm}:{ss}', '\n{YYYY}-{MM}-{DD} {HH}:{mm}', null, '\n{MM}-{DD} {HH}:{mm}', null, '\n{HH}:{mm}', null, 1]
  ];
  function xAxisStyle(log) { return log.dated ? { values: clockTicks, space: 60 } : { label: 'hours' }; }

  function chart(element, options, data) {
    options.width = width(element);
    options.height = 280;
    options.tzDate = utc;
    charts.push(new uPlot(options, data, element));
    drawn++;
  }

  function capacityChart(log) {
    var element = document.getElementById('capacity-' + log.id);
    if (!element) return;
    chart(element, {
      title: 'Remaining capacity and life percentage',
      scales: { x: xAxis(log), mWh: {}, pct: {} },
      series: [
        xSeries(log),
        { label: 'Remaining (mWh)', scale: 'mWh', stroke: colours[0], width: 2, fill: 'rgba(31,119,180,0.12)' },
        { label: 'Life (%)', scale: 'pct', stroke: colours[2], width: 2, dash: [6, 4] }
      ],
      axes: [xAxisStyle(log), { scale: 'mWh', label: 'mWh', size: 70 }, { scale: 'pct', label: '%', side: 1, grid: { show: false } }]
    }, [xValues(log), log.remains, log.life]);
  }

  function rateChart(log) {
    var element = document.getElementById('rate-' + log.id);
    if (!element) return;
    var bars = uPlot.paths && uPlot.paths.bars ? uPlot.paths.bars({ size: [0.6, 40] }) : undefined;
    chart(element, {
      title: 'Rate and Diff per row',
      scales: { x: xAxis(log), mW: {}, diff: {} },
      series: [
        xSeries(log),
        { label: 'Rate (mW)', scale: 'mW', stroke: colours[1], width: 2 },
        { label: 'Diff (mWh)', scale: 'diff', stroke: colours[3], fill: 'rgba(148,103,189,0.35)', paths: bars }
      ],
      axes: [xAxisStyle(log), { scale: 'mW', label: 'mW', size: 70 }, { scale: 'diff', label: 'mWh', side: 1, grid: { show: false } }]
    }, [xValues(log), log.rate, log.diff]);
  }

  function compareChart() {
    var element = document.getElementById('compare');
    if (!element) return;
    var tables = logs.map(function (log) { return [hours(log.elapsed), log.life]; });
    var series = [{ label: 'Hours', value: hoursValue }];
    logs.forEach(function (log, i) {
      series.push({ label: log.name, stroke: colours[i % colours.length], width: 2, spanGaps: true });
    });
    chart(element, {
      title: 'Life percentage against hours since the start',
      scales: { x: { time: false } },
      series: series,
      axes: [{ label: 'hours' }, { label: '%' }]
    }, uPlot.join(tables));
  }

  function sortable(table) {
    var headers = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(headers, function (header, column) {
      header.addEventListener('click', function () {
        var ascending = header.getAttribute('aria-sort') !== 'ascending';
        Array.prototype.forEach.call(headers, function (h) { h.removeAttribute('aria-sort'); });
        header.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        rows.sort(function (a, b) {
          var x = a.cells[column], y = b.cells[column];
          var vx = x.dataset.value, vy = y.dataset.value;
          var order;
          if (vx !== undefined && vy !== undefined) order = parseFloat(vx) - parseFloat(vy);
          else if (vx !== undefined) order = -1;  // figures before "n/a", whichever way
          else if (vy !== undefined) order = 1;
          else order = x.textContent.localeCompare(y.textContent);
          return ascending || (vx === undefined) !== (vy === undefined) ? order : -order;
        });
        rows.forEach(function (row) { body.appendChild(row); });
      });
    });
  }

  logs.forEach(function (log) { capacityChart(log); rateChart(log); });
  if (logs.length >= 2) compareChart();
  sortable(document.getElementById('summary'));
  document.body.setAttribute('data-charts', String(drawn));
})();
