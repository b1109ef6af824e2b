// Opens a written report in headless Chromium with every network request refused, and checks what a
// tester sees: no script error, every chart drawn, values under the cursor, zoom, sorting, the
// summary tables holding the figures the text summary printed, the capacity chart holding the logs'
// own full-charged capacities and the sleep chart the printed drains. Saves a screenshot.
//   node check_page.mjs PAGE TEXT_SUMMARY SCREENSHOT [--docs DOCS_SCREENSHOT] LOG...
// LOG: the log files the report read, named as the report was given them.
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import path from 'node:path';

const here = path.dirname(new URL(import.meta.url).pathname);
const require = createRequire(path.join(here, '../../src/report/web/package.json'));
const { chromium } = require('playwright-core');

const [pagePath, summaryPath, screenshotPath, ...rest] = process.argv.slice(2);
const docsScreenshotPath = rest[0] === '--docs' ? rest[1] : undefined;
const logPaths = rest[0] === '--docs' ? rest.slice(2) : rest;
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

// The console summary: blocks of "name" then "  Label<padding> value" lines; the block about the
// machine the report ran on apart.
function parseSummary(text) {
  const logs = [];
  let machine = null;
  for (const block of text.split(/\r?\n\r?\n/)) {
    const lines = block.split(/\r?\n/).filter((l) => l.length > 0);
    if (lines.length < 2 || lines[0].startsWith(' ') || lines[0].startsWith('Sleep cycles ')) continue;
    const figures = {};
    for (const line of lines.slice(1)) {
      if (!line.startsWith('  ') || line.startsWith('  Note:')) continue;
      figures[line.slice(2, 36).trim()] = line.slice(37);
    }
    if (lines[0].startsWith('The battery of the machine this report ran on')) machine = figures;
    else logs.push({ name: lines[0], figures });
  }
  return { logs, machine };
}

// The full-charged capacity of a log's first and last row that has one, read from the file itself.
function capacityEnds(file) {
  const lines = readFileSync(file, 'latin1').replace(/^\uFEFF/, '').split(/\r?\n/);
  const s1 = lines[0].startsWith('Item\t');
  const known = [];
  for (const line of lines.slice(1)) {
    const fields = line.split('\t');
    if (fields.length !== (s1 ? 6 : 5)) continue;
    const time = fields[s1 ? 1 : 0].slice(0, 8);
    const full = fields[s1 ? 2 : 1].trim();
    if (/^\d\d:\d\d:\d\d$/.test(time) && /^-?\d+$/.test(full) && Number(full) > 0) known.push([time, Number(full)]);
  }
  return known.length === 0 ? [] : known.length === 1 ? [known[0]] : [known[0], known[known.length - 1]];
}

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
  const refused = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith('file:')) return route.continue();
    refused.push(url);
    return route.abort();
  });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  await page.goto(pathToFileURL(path.resolve(pagePath)).href);
  await page.waitForSelector('body[data-charts]', { timeout: 15000 });

  check(refused.length === 0, `the page asked the network for ${refused.join(', ')}`);
  const reported = await page.evaluate(() => window.reportErrors);
  check(errors.length === 0 && reported.length === 0, `script errors: ${errors.concat(reported).join('; ')}`);

  // Every chart place holds a canvas with a drawing on it.
  const charts = await page.evaluate(() => Array.from(document.querySelectorAll('.chart')).map((place) => {
    const canvas = place.querySelector('canvas');
    if (!canvas) return 0;
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let inked = 0;
    for (let i = 3; i < pixels.length; i += 4) inked += pixels[i] > 0 ? 1 : 0;
    return inked;
  }));
  check(charts.length >= 5, `expected at least 5 charts, found ${charts.length}`);
  for (const id of ['capacity-history', 'sleep-drain']) {
    check(await page.$(`#${id} canvas`) !== null, `no chart in #${id}`);
  }
  check(charts.every((inked) => inked > 2000), `a chart drew nothing: ${charts.join(', ')}`);
  check(Number(await page.getAttribute('body', 'data-charts')) === charts.length, 'not every chart was drawn');

  // Each run's time axis spans about its rows: a run of no duration gets room around its moment.
  const spans = await page.evaluate(() => window.reportCharts.filter((u) => u.root.closest('.log')).map((u) => {
    const xs = u.data[0];
    const unit = u.scales.x.time ? 3600 : 1;
    return [(u.scales.x.max - u.scales.x.min) / unit, (xs[xs.length - 1] - xs[0]) / unit];
  }));
  check(spans.every(([shown, rows]) => shown <= Math.max(2 * rows, 1.01)),
        `a time axis far wider than its rows (hours shown, hours of rows): ${JSON.stringify(spans)}`);

  if (docsScreenshotPath) {
    // The top of the page down to the charts across logs.
    const bottom = await page.evaluate(() => document.getElementById('sleep-drain').getBoundingClientRect().bottom);
    await page.screenshot({ path: docsScreenshotPath, fullPage: true,
                            clip: { x: 0, y: 0, width: 1280, height: Math.min(2400, Math.ceil(bottom) + 16) } });
  }

  // Values under the cursor, then a drag that zooms into a range.
  const overlay = page.locator('.log .chart .u-over').first();  // the first chart drawn
  await overlay.scrollIntoViewIfNeeded();
  const box = await overlay.boundingBox();
  await page.mouse.move(box.x + box.width * 0.5, box.y + box.height * 0.5);
  const legend = await page.locator('.log .chart .u-legend').first().locator('.u-value').allTextContents();
  check(legend.length > 1 && legend.slice(1).every((v) => v !== '' && v !== '--'),
        `no values under the cursor: ${legend.join(' | ')}`);
  const before = await page.evaluate(() => [window.reportCharts[0].scales.x.min, window.reportCharts[0].scales.x.max]);
  await page.mouse.move(box.x + box.width * 0.3, box.y + box.height * 0.5);
  await page.mouse.down();
  await page.mouse.move(box.x + box.width * 0.6, box.y + box.height * 0.5, { steps: 5 });
  await page.mouse.up();
  const after = await page.evaluate(() => [window.reportCharts[0].scales.x.min, window.reportCharts[0].scales.x.max]);
  check(after[0] > before[0] && after[1] < before[1], `dragging did not zoom: ${before} -> ${after}`);
  await page.mouse.dblclick(box.x + box.width * 0.5, box.y + box.height * 0.5);

  // The tables hold the console's figures, log by log.
  const table = await page.evaluate(() => {
    const rows = {};
    for (const summary of document.querySelectorAll('table.summary')) {
      const titles = Array.from(summary.querySelectorAll('thead th')).map((th) => th.textContent);
      for (const tr of summary.querySelectorAll('tbody tr')) {
        const row = {};
        Array.from(tr.cells).forEach((td, i) => { row[titles[i]] = td.textContent; });
        rows[row.Log] = row;
      }
    }
    return rows;
  });
  const { logs: printed, machine } = parseSummary(readFileSync(summaryPath, 'utf8'));
  check(printed.length === Object.keys(table).length && printed.length > 0,
        `${printed.length} logs printed, ${Object.keys(table).length} rows in the tables`);
  let compared = 0;
  printed.forEach((log) => {
    const row = table[log.name];
    check(row !== undefined, `${log.name} is in no table`);
    for (const [label, value] of Object.entries(log.figures)) {
      check(row && row[label] === value, `${log.name}: ${label} is "${row && row[label]}" in the table, "${value}" printed`);
      compared++;
    }
  });
  check(compared >= printed.length * 8, `only ${compared} figures compared`);

  // Sorting by a figure orders the rows by value, those without one last.
  const drainColumn = await page.$$eval('table.summary:first-of-type thead th',
                                        (ths) => ths.findIndex((th) => th.textContent === 'Average drain (mW)'));
  await page.click('th:has-text("Average drain (mW)")');
  const drains = await page.$$eval('table.summary tbody tr', (rows, column) =>
    rows.filter((r) => r.cells[1].textContent === 'S1').map((r) => r.cells[column].dataset.value), drainColumn);
  const known = drains.filter((v) => v !== undefined).map(Number);
  check(drainColumn > 0 && known.length > 1 && known.every((v, i) => i === 0 || known[i - 1] <= v),
        `not sorted: ${drains.join(', ')}`);

  // The capacity chart's points are the logs' own values: the first and last known full-charged
  // capacity of each log, at the time of its row.
  const capacity = await page.evaluate(() => {
    const data = JSON.parse(document.getElementById('report-data').textContent).capacity;
    const drawn = window.reportCharts.find((u) => u.root.parentNode.id === 'capacity-history');
    return drawn && { clock: drawn.data[0], full: drawn.data[1], design: drawn.data[2], name: data.name };
  });
  check(capacity !== undefined, 'no capacity chart');
  let points = 0;
  for (const file of logPaths) {
    const expected = capacityEnds(file).map(([time, full]) => `${time} ${full}`);
    const charted = (capacity ? capacity.name : []).flatMap((name, i) => {
      if (name !== file) return [];
      const seconds = ((capacity.clock[i] % 86400) + 86400) % 86400;
      const time = [seconds / 3600, (seconds % 3600) / 60, seconds % 60].map((v) => String(Math.floor(v)).padStart(2, '0')).join(':');
      return [`${time} ${capacity.full[i]}`];
    });
    check(JSON.stringify(charted) === JSON.stringify(expected), `${file}: charted ${charted.join(', ')}, the log holds ${expected.join(', ')}`);
    points += charted.length;
  }
  check(capacity && points === capacity.full.length && points > 0, `${points} of the chart's points come from the logs given`);
  const design = machine && Number(machine['Design capacity (mWh)']);
  if (design > 0) {
    check(capacity.design && capacity.design.every((v) => v === design), `the 100 % line is not at ${design} mWh`);
    const shown = await page.textContent('#machine');
    check(shown.includes(String(design)) && shown.includes('need not be the one that wrote the logs'),
          `the machine's battery is not shown: ${shown}`);
  } else {
    check(capacity && capacity.design === undefined, 'a 100 % line without a battery on this machine');
  }

  // Each unattended run's cycles: the marked rows, and the chart's bars and line the table's figures
  // (a share the counter could not hold is left off the chart).
  const cycles = await page.evaluate(() => Array.from(document.querySelectorAll('section.cycle-run')).map((run) => {
    const drawn = window.reportCharts.find((u) => u.root.parentNode.closest('section') === run);
    const rows = Array.from(run.querySelectorAll('table.cycles tbody tr'));
    return {
      marked: rows.filter((r) => r.classList.contains('marked')).map((r) => r.cells[0].textContent),
      table: rows.map((r) => [r.cells[8].textContent, r.cells[4].textContent.includes('unreliable') ? 'n/a' : r.cells[4].textContent]),
      chart: drawn ? drawn.data[1].map((drain, i) => [drain, drawn.data[2][i]]) : [],
    };
  }));
  check(cycles.length === 1, `${cycles.length} unattended sleep runs on the page, not 1`);
  for (const run of cycles) {
    check(JSON.stringify(run.marked) === JSON.stringify(['2', '3']), `marked cycles ${run.marked.join(', ')}, not 2 and 3`);
    const charted = run.chart.map(([drain, hw]) => [drain === null ? 'n/a' : String(drain), hw === null ? 'n/a' : hw.toFixed(1)]);
    check(JSON.stringify(charted) === JSON.stringify(run.table), `cycles charted ${JSON.stringify(charted)}, tabled ${JSON.stringify(run.table)}`);
  }

  // The sleep chart's bars are the printed drains, in the order of the tests; tests without an
  // after-resume figure carry a mark instead.
  const sleep = await page.evaluate(() => {
    const data = JSON.parse(document.getElementById('report-data').textContent).sleep;
    const drawn = window.reportCharts.find((u) => u.root.parentNode.id === 'sleep-drain');
    return drawn && { name: data.name, drain: drawn.data[1], mark: drawn.data[3] };
  });
  const sleepPrinted = printed.filter((log) => 'Average drain asleep (mW)' in log.figures);
  check(sleep && sleep.name.length === sleepPrinted.length, 'the sleep chart does not hold every sleep test');
  sleepPrinted.forEach((log, i) => {
    const value = sleep && sleep.drain[i];
    const shown = value == null ? 'n/a' : value.toFixed(0);
    check(sleep && sleep.name[i] === log.name && shown === log.figures['Average drain asleep (mW)'],
          `sleep chart: ${sleep && sleep.name[i]} at ${shown}, printed ${log.name} at ${log.figures['Average drain asleep (mW)']}`);
    const marked = sleep && sleep.mark[i] === 0;
    check(marked === (log.figures.Ending !== 'resumed'), `${log.name}: marked ${marked}, ending ${log.figures.Ending}`);
  });

  await page.screenshot({ path: screenshotPath, fullPage: true });
  console.log(`page: ${charts.length} charts drawn, ${compared} figures match the text summary, ${points} capacity ` +
              `points match the logs, ${sleepPrinted.length} sleep tests charted as printed, no network, no script error`);
} finally {
  await browser.close();
}
if (failures.length > 0) {
  for (const failure of failures) console.error(`FAILED: ${failure}`);
  process.exit(1);
}
