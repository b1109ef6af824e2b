// Draws the report's charts with uPlot and makes the summary tables sortable.
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('report-data').textContent);
  var logs = data.s1;
  var colours = ['#1f77b4', '#d62728', '#2ca02c', '#9467bd', '#ff7f0e', '#17becf', '#8c564b', '#e377c2'];
  var drawn = 0;
  var charts = window.reportCharts = [];  // for a reader's console and for the tests

  // Log times are local wall-clock times, stored as if they were UTC so they show as written.
  function utc(ts) { return uPlot.tzDate(new Date(ts * 1e3), 'Etc/UTC'); }
  function hours(seconds) { return seconds.map(function (s) { return s / 3600; }); }
  function width(element) { return Math.max(480, Math.min(1100, element.clientWidth || 900)); }

  // Rows at one moment (one row, or S1 / Save and Stop within a second) get room around it, not the
  // thousand days uPlot gives a time axis that holds one value.
  function padded(pad) {
    return function (u, min, max) {
      var xs = u.data[0];
      return xs.length > 0 && xs[0] === xs[xs.length - 1] ? [xs[0] - pad, xs[0] + pad] : [min, max];
    };
  }
  function xAxis(log) {
    return log.dated ? { time: true, range: padded(1800) } : { time: false, range: padded(0.5) };
  }
  function xValues(log) { return log.dated ? log.clock : hours(log.elapsed); }
  function hoursValue(u, v) { return v == null ? '' : v.toFixed(2) + ' h'; }
  var clockValue = '{YYYY}-{MM}-{DD} {HH}:{mm}:{ss}';
  function xSeries(log) {
    return log.dated ? { label: 'Time', value: clockValue } : { label: 'Hours', value: hoursValue };
  }
  // 24-hour clock on the time axis, the date under the first tick of each day.
  var clockTicks = [
    [3600 * 24 * 28, '{YYYY}-{MM}', null, null, null, null, null, null, 1],
    [3600 * 24, '{MM}-{DD}', '\n{YYYY}', null, null, null, null, null, 1],
    [3600, '{HH}:{mm}', '\n{YYYY}-{MM}-{DD}', null, '\n{MM}-{DD}', null, null, null, 1],
    [60, '{HH}:{mm}', '\n{YYYY}-{MM}-{DD}', null, '\n{MM}-{DD}', null, null, null, 1],
    [1, '{HH}:{mm}:{ss}', '\n{YYYY}-{MM}-{DD} {HH}:{mm}', null, '\n{MM}-{DD} {HH}:{mm}', null, '\n{HH}:{mm}', null, 1]
  ];
  function xAxisStyle(log) { return log.dated ? { values: clockTicks, space: 60 } : { label: 'hours' }; }

  function chart(element, options, values) {
    options.width = width(element);
    options.height = 280;
    options.tzDate = utc;
    charts.push(new uPlot(options, values, element));
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
    chart(element, {
      title: 'Rate and Diff per row',
      scales: { x: xAxis(log), mW: {}, diff: {} },
      series: [
        xSeries(log),
        { label: 'Rate (mW)', scale: 'mW', stroke: colours[1], width: 2 },
        { label: 'Diff (mWh)', scale: 'diff', stroke: colours[3], fill: 'rgba(148,103,189,0.35)',
          paths: uPlot.paths.bars({ size: [0.6, 40] }) }
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
      scales: { x: { time: false, range: padded(0.5) } },
      series: series,
      axes: [{ label: 'hours' }, { label: '%' }]
    }, uPlot.join(tables));
  }

  // The full-charged capacity at the first and last row of each log, against the date; the running
  // machine's design capacity, where known, as the 100 % line.
  function capacityHistoryChart(capacity) {
    var element = document.getElementById('capacity-history');
    if (!element) return;
    var design = capacity.design;
    var series = [
      { label: 'Time', value: function (u, v, s, i) {
        return i == null ? '' : uPlot.fmtDate(clockValue)(utc(v)) + '  ' + capacity.name[i];
      } },
      { label: 'Full-charged capacity (mWh)', stroke: colours[0], width: 2, spanGaps: true,
        points: { show: true, size: 8, fill: colours[0] } }
    ];
    var values = [capacity.clock, capacity.full];
    var axes = [{ values: clockTicks, space: 60 }, { label: 'mWh', size: 70 }];
    if (design != null) {
      series.push({ label: 'Design capacity of this machine (100 %)', stroke: colours[1], width: 2, dash: [8, 5],
                    points: { show: false } });
      values.push(capacity.clock.map(function () { return design; }));
      axes.push({ side: 1, label: '% of design', size: 60, grid: { show: false },
                  values: function (u, ticks) { return ticks.map(function (t) { return (t * 100 / design).toFixed(0) + ' %'; }); } });
    }
    chart(element, {
      title: 'Full-charged capacity over time',
      scales: { x: { time: true, range: padded(43200) } },
      series: series,
      axes: axes
    }, values);
  }

  // Each sleep test's average drain asleep and % of full per hour, side by side, in date order; a test
  // without a usable after-resume row gets a mark on the baseline instead of bars.
  function sleepDrainChart(sleep) {
    var element = document.getElementById('sleep-drain');
    if (!element) return;
    var count = sleep.name.length;
    var index = sleep.name.map(function (n, i) { return i; });
    var marks = sleep.outcome.map(function (o) { return o === '' ? null : 0; });
    function label(i) { return sleep.label[i] + (sleep.outcome[i] === '' ? '' : '\n' + sleep.outcome[i]); }
    chart(element, {
      title: 'Sleep drain across runs',
      scales: { x: { time: false, range: function () { return [-0.6, count - 0.4]; } }, mW: { range: function (u, min, max) { return [0, Math.max(max, 1)]; } },
                pct: { range: function (u, min, max) { return [0, Math.max(max, 0.01)]; } } },
      series: [
        { label: 'Test', value: function (u, v, s, i) { return i == null ? '' : sleep.name[i]; } },
        { label: 'Average drain asleep (mW)', scale: 'mW', stroke: colours[0], fill: 'rgba(31,119,180,0.6)',
          paths: uPlot.paths.bars({ size: [0.4, 70], align: -1 }), points: { show: false } },
        { label: 'Drain asleep (% of full per hour)', scale: 'pct', stroke: colours[4], fill: 'rgba(255,127,14,0.6)',
          paths: uPlot.paths.bars({ size: [0.4, 70], align: 1 }), points: { show: false } },
        { label: 'No after-resume figure', scale: 'mW', stroke: colours[1], paths: function () { return null; },
          points: { show: true, size: 12, width: 3, fill: '#fff' } }
      ],
      axes: [
        { splits: function () { return index; }, values: function (u, ticks) { return ticks.map(label); }, size: 70,
          grid: { show: false } },
        { scale: 'mW', label: 'mW', size: 70 },
        { scale: 'pct', label: '% of full per hour', side: 1, size: 60, grid: { show: false } }
      ]
    }, [index, sleep.drain, sleep.percent, marks]);
  }

  // An unattended sleep run: each cycle's drain asleep as a bar, its share of hardware sleep as a line
  // with the 90 % mark beside it, and a ring on each marked cycle (below 90 %, or a failed suspend).
  function cyclesChart(run) {
    var element = document.getElementById('cycles-' + run.id);
    if (!element) return;
    var rings = run.mark.map(function (m, i) { return m === '' ? null : (run.hw[i] == null ? 0 : run.hw[i]); });
    chart(element, {
      title: 'Drain and hardware sleep per cycle',
      scales: { x: { time: false, range: function (u, min, max) { return [min - 0.6, max + 0.6]; } },
                mW: { range: function (u, min, max) { return [0, Math.max(max, 1)]; } },
                pct: { range: [0, 105] } },
      series: [
        { label: 'Cycle', value: function (u, v) { return v == null ? '' : String(v); } },
        { label: 'Drain asleep (mW)', scale: 'mW', stroke: colours[0], fill: 'rgba(31,119,180,0.5)',
          paths: uPlot.paths.bars({ size: [0.5, 60] }), points: { show: false } },
        { label: 'Hardware sleep (%)', scale: 'pct', stroke: colours[2], width: 2, spanGaps: false,
          points: { show: true, size: 7, fill: colours[2] } },
        { label: '90 %', scale: 'pct', stroke: '#999', dash: [4, 4], points: { show: false } },
        { label: 'Marked', scale: 'pct', stroke: colours[1], paths: function () { return null; },
          value: function (u, v, s, i) { return i == null || run.mark[i] === '' ? '' : run.mark[i]; },
          points: { show: true, size: 14, width: 3, fill: 'rgba(0,0,0,0)' } }
      ],
      axes: [
        { label: 'cycle', splits: function () { return run.cycle; } },
        { scale: 'mW', label: 'mW', size: 70 },
        { scale: 'pct', label: '% hardware sleep', side: 1, size: 60, grid: { show: false } }
      ]
    }, [run.cycle, run.drain, run.hw, run.cycle.map(function () { return 90; }), rings]);
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
  capacityHistoryChart(data.capacity);
  sleepDrainChart(data.sleep);
  JSON.parse(document.getElementById('cycle-data').textContent).forEach(cyclesChart);
  if (logs.length >= 2) compareChart();
  Array.prototype.forEach.call(document.querySelectorAll('table.summary'), sortable);
  document.body.setAttribute('data-charts', String(drawn));
})();
