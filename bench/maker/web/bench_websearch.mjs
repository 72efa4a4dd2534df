// Time the web help's search takes in Chromium over the largest document: from the query to
// the result list laid out in the page, data already loaded, for a word on every page (100 results), an
// ASCII word in another case and a word on no page (every text read to its end).
// Usage: node bench_websearch.mjs SITEDIR [RUNS]
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium } from './chromium.mjs';

const [siteDir, runsText] = process.argv.slice(2);
const runs = Number(runsText || 20);
const { browser, close } = await launchChromium();
try {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(siteDir, 'index.html')).href, { waitUntil: 'load' });
  await page.waitForFunction(() => window.quilloSite !== undefined);
  const bytes = fs.statSync(path.join(siteDir, 'search-data.js')).size;
  const loadMs = await page.evaluate(() => new Promise((done) => {
    const start = performance.now();
    window.quilloSite.search('x', () => done(performance.now() - start));
  }));
  console.log(`search data ${(bytes / 1024).toFixed(0)} KB loaded in ${loadMs.toFixed(1)} ms`);
  await page.click('#tab-search'); // the results are laid out where the reader sees them
  for (const query of ['ヘルプの本文', 'HELP TEXT LINE 99', '見つからない語']) {
    const times = await page.evaluate((q, n) => new Promise((done) => {
      const out = [];
      let found = 0;
      const next = () => {
        if (out.length === n) return done({ out, found });
        const start = performance.now();
        window.quilloSite.search(q, (count) => {
          found = count;
          void document.getElementById('search-results').offsetHeight; // laid out too
          out.push(performance.now() - start);
          next();
        });
      };
      next();
    }), query, runs);
    times.out.sort((a, b) => a - b);
    const median = times.out[Math.floor(times.out.length / 2)];
    const worst = times.out[times.out.length - 1];
    console.log(`"${query}": ${times.found} pages, median ${median.toFixed(2)} ms, ` +
      `max ${worst.toFixed(2)} ms over ${runs} runs (target < 50 ms)`);
  }
} finally {
  await close();
}
