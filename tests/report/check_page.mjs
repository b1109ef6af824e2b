// Opens a written report in headless Chromium with every network request refused, and checks what a
// tester sees: no script error, every chart drawn, values under the cursor, zoom, sorting, and the
// summary table holding the figures the text summary printed. Saves a screenshot.
//   node check_page.mjs PAGE TEXT_SUMMARY SCREENSHOT [DOCS_SCREENSHOT]
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import path from 'node:path';

const here = path.dirname(new URL(import.meta.url).pathname);
const require = createRequire(path.join(here, '../../src/report/web/package.json'));
const { chromium } = require('playwright-core');

const [pagePath, summaryPath, screenshotPath, docsScreenshotPath] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

// The console summary: blocks of "name" then "  Label<padding> value" lines.
function parseSummary(text) {
  const logs = [];
  for (const block of text.split(/\r?\n\r?\n/)) {
    const lines = block.split(/\r?\n/).filter((l) => l.length > 0);
    if (lines.length < 2 || lines[0].startsWith(' ')) continue;
    const figures = {};
    for (const line of lines.slice(1)) {
      if (!line.startsWith('  ') || line.startsWith('  Note:')) continue;
      figures[line.slice(2, 30).trim()] = line.slice(31);
    }
    logs.push({ name: lines[0], figures });
  }
  return logs;
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
  check(charts.length >= 3, `expected at least 3 charts, found ${charts.length}`);
  check(charts.every((inked) => inked > 2000), `a chart drew nothing: ${charts.join(', ')}`);
  check(Number(await page.getAttribute('body', 'data-charts')) === charts.length, 'not every chart was drawn');

  if (docsScreenshotPath) {
    await page.screenshot({ path: docsScreenshotPath, clip: { x: 0, y: 0, width: 1280, height: 900 } });
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

  // The table holds the console's figures, log by log.
  const table = await page.evaluate(() => {
    const titles = Array.from(document.querySelectorAll('#summary thead th')).map((th) => th.textContent);
    return Array.from(document.querySelectorAll('#summary tbody tr')).map((tr) => {
      const row = {};
      Array.from(tr.cells).forEach((td, i) => { row[titles[i]] = td.textContent; });
      return row;
    });
  });
  const printed = parseSummary(readFileSync(summaryPath, 'utf8'));
  check(printed.length === table.length && printed.length > 0,
        `${printed.length} logs printed, ${table.length} rows in the table`);
  let compared = 0;
  printed.forEach((log, i) => {
    const row = table[i] || {};
    check(row.Log === log.name, `row ${i} is ${row.Log}, printed ${log.name}`);
    for (const [label, value] of Object.entries(log.figures)) {
      check(row[label] === value, `${log.name}: ${label} is "${row[label]}" in the table, "${value}" printed`);
      compared++;
    }
  });
  check(compared >= printed.length * 8, `only ${compared} figures compared`);

  // Sorting by a figure orders the rows by value, those without one last.
  await page.click('#summary th:has-text("Average drain (mW)")');
  const drains = await page.$$eval('#summary tbody tr', (rows) => rows.map((r) => r.cells[8].dataset.value));
  const known = drains.filter((v) => v !== undefined).map(Number);
  check(known.every((v, i) => i === 0 || known[i - 1] <= v), `not sorted: ${drains.join(', ')}`);

  await page.screenshot({ path: screenshotPath, fullPage: true });
  console.log(`page: ${charts.length} charts drawn, ${compared} figures match the text summary, no network, no script error`);
} finally {
  await browser.close();
}
if (failures.length > 0) {
  for (const failure of failures) console.error(`FAILED: ${failure}`);
  process.exit(1);
}
