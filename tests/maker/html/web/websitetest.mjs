// The web help in Debian's Chromium, headless, driven through its DevTools protocol: a help
// source folder is packed and exported with qzdtool, and the site is used as a reader would,
// opened straight from the disk.
//
// Usage: node websitetest.mjs QZDTOOL WORKDIR
// Screenshots (desktop, phone, dark) are left in WORKDIR for a person to look at.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { HtmlValidate } from 'html-validate';
import { launchChromium } from './chromium.mjs';

const [qzdtool, workDir] = process.argv.slice(2);
if (!qzdtool || !workDir) {
  console.error('usage: node websitetest.mjs QZDTOOL WORKDIR');
  process.exit(2);
}

const failures = [];
function check(ok, what, seen) {
  if (!ok) failures.push(what + (seen === undefined ? '' : ' (saw: ' + JSON.stringify(seen) + ')'));
}

// A red 8x6 PNG for the picture of page 1.
const PNG = Buffer.from(
  'iVBORw0KGgoAAAANSUhEUgAAAAgAAAAGCAIAAABxZ0isAAAAEklEQVR4nGP4z8CAFWEXpZMEADMoL9HswQX5AAAAAElFTkSuQmCC',
  'base64');

const HOSTILE_KEYWORD = '<img src=x onerror=alert(1)>';

function writeSource(dir) {
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(path.join(dir, 'pages', 'img'), { recursive: true });
  fs.writeFileSync(path.join(dir, 'pages', 'img', 'shot.png'), PNG);
  fs.writeFileSync(path.join(dir, 'pages', '001.md'),
    '# はじめに\n\nこのヘルプの使い方です。詳しくは[検索のページ](#3)を見て下さい。\n\n' +
    '![画面](img/shot.png)\n\n外部の案内は[サイト](https://example.com/help)にあります。\n');
  fs.writeFileSync(path.join(dir, 'pages', '002.md'),
    '# 画面の見方\n\nThe Database window lists every record.\n\n- 一つ目\n- 二つ目\n\n' +
    '| 項目 | 説明 |\n|---|---|\n| A | 1 |\n\n[はじめに戻る](#1)\n');
  fs.writeFileSync(path.join(dir, 'pages', '003.md'),
    '# 検索\n\n全文検索は、すべてのページの本文から文字列を探します。\n\n' +
    'もう一度、全文検索の使い方を説明します。\n');
  // A link of another kind keeps its text only; the page's text is text, never markup.
  fs.writeFileSync(path.join(dir, 'pages', '004.rtf'),
    '{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS Gothic;}}' +
    '\\f0\\fs20 {\\field{\\*\\fldinst HYPERLINK "javascript:window.hacked=1"}' +
    '{\\fldrslt Danger link}} and <script>window.hacked=2</script> text\\par}\n');
  fs.writeFileSync(path.join(dir, 'help.toml'), [
    '[display]',
    'backColor = 0x00E0F8FF',
    '',
    '[[page]]', 'file = "pages/001.md"', 'title = "はじめに"', 'keywords = ["概要", "はじめに"]', '',
    '[[page]]', 'file = "pages/002.md"', 'title = "画面の見方"',
    'keywords = ["画面", "Database", "' + HOSTILE_KEYWORD.replace(/"/g, '\\"') + '"]', '',
    '[[page]]', 'file = "pages/003.md"', 'title = "検索 & <置換>"', 'keywords = ["全文検索", "画面"]', '',
    '[[page]]', 'file = "pages/004.rtf"', 'title = "リンク"', 'keywords = ["リンク"]', '',
  ].join('\n'));
}

const sourceDir = path.join(workDir, 'source');
const siteDir = path.join(workDir, 'site');
fs.mkdirSync(workDir, { recursive: true });
writeSource(sourceDir);
execFileSync(qzdtool, ['pack', sourceDir, path.join(workDir, 'guide.qzd')], { stdio: 'inherit' });
fs.rmSync(siteDir, { recursive: true, force: true });
execFileSync(qzdtool, ['export-web', path.join(workDir, 'guide.qzd'), siteDir], { stdio: 'inherit' });

// Every page is valid HTML5.
const validator = new HtmlValidate({ extends: ['html-validate:standard'] });
for (const file of fs.readdirSync(siteDir).filter((f) => f.endsWith('.html'))) {
  const report = await validator.validateString(fs.readFileSync(path.join(siteDir, file), 'utf8'));
  check(report.valid, 'valid HTML5: ' + file,
    report.results.flatMap((r) => r.messages.map((m) => m.ruleId + ': ' + m.message)));
}

const { browser, close } = await launchChromium();

const url = (file) => pathToFileURL(path.join(siteDir, file)).href;
const fileOf = (href) => decodeURIComponent(new URL(href).pathname.split('/').pop());

try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 760 });
  const problems = [];
  page.on('pageerror', (e) => problems.push('script error: ' + e.message));
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('request', (r) => {
    if (!r.url().startsWith('file://')) problems.push('request outside the site: ' + r.url());
  });
  const open = async (file) => {
    await page.goto(url(file), { waitUntil: 'load' });
    await page.waitForFunction(() => window.quilloSite !== undefined);
  };
  const clickAndWait = (selector) => Promise.all([
    page.waitForNavigation({ waitUntil: 'load' }), page.click(selector)]);

  // Page 1 from the disk: the site's script ran, the contents mark page 1, the picture shows
  // and the page has the document's colour.
  await open('index.html');
  check(await page.title() === 'はじめに - guide', 'title of page 1', await page.title());
  const current = () => page.$eval('#contents [aria-current="page"]', (a) => a.textContent);
  check(await current() === 'p 1  はじめに', 'page 1 marked in the contents', await current());
  const picture = await page.$eval('#page img', (img) => img.complete && img.naturalWidth);
  check(picture === 8, 'picture of page 1 shows', picture);
  const colour = await page.$eval('#page', (m) => getComputedStyle(m).backgroundColor);
  check(colour === 'rgb(255, 248, 224)', 'page colour of the document', colour);
  const landmarks = await page.$$eval('nav[aria-label], main[aria-label], [role=search]',
    (e) => e.length);
  check(landmarks === 3, 'labelled landmarks', landmarks);
  await page.screenshot({ path: path.join(workDir, 'desktop.png') });

  // The first Tab reaches the link that skips to the page, shown while it has the focus.
  await page.keyboard.press('Tab');
  const skip = await page.evaluate(() => ({
    cls: document.activeElement.className, left: document.activeElement.getBoundingClientRect().left }));
  check(skip.cls === 'skip' && skip.left >= 0, 'skip link first and shown', skip);

  // A contents line opens its page, marked in the contents there.
  await clickAndWait('#contents a[href="page2.html"]');
  check(fileOf(page.url()) === 'page2.html', 'contents line opens page 2', page.url());
  check(await current() === 'p 2  画面の見方', 'page 2 marked', await current());

  // Keywords: the tab by keyboard, the list filtered as one types, a keyword opens its page.
  await page.focus('#tab-contents');
  await page.keyboard.press('ArrowRight');
  const focused = await page.evaluate(() => document.activeElement.id);
  check(focused === 'tab-keywords', 'arrow key moves to the keyword tab', focused);
  const outline = await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle);
  check(outline === 'solid', 'focus visible on the tab', outline);
  check(await page.$eval('#keywords', (s) => !s.hidden), 'keyword tab shown');
  const shownKeywords = () => page.$$eval('#keyword-list li:not([hidden])',
    (items) => items.map((li) => li.textContent));
  const allKeywords = await shownKeywords();
  check(allKeywords.includes(HOSTILE_KEYWORD), 'a keyword with markup shows as text', allKeywords);
  check(await page.$('#keyword-list img') === null, 'no element made from a keyword');
  await page.type('#keyword-filter', 'DATA');
  check(JSON.stringify(await shownKeywords()) === '["Database"]', 'keywords filtered',
    await shownKeywords());
  await page.click('#keyword-filter', { clickCount: 3 });
  await page.type('#keyword-filter', 'ｄａｔａ'); // full-width letters find it too
  check(JSON.stringify(await shownKeywords()) === '["Database"]', 'width-blind filter',
    await shownKeywords());
  await page.click('#keyword-filter', { clickCount: 3 });
  await page.type('#keyword-filter', '画面');
  const screens = await shownKeywords();
  check(screens.length === 2 && screens.every((k) => k === '画面'), 'Japanese filter', screens);
  await clickAndWait('#keyword-list li:not([hidden]) a[href="page3.html"]');
  check(fileOf(page.url()) === 'page3.html', 'keyword opens page 3', page.url());
  check(await page.$eval('#tab-keywords', (t) => t.getAttribute('aria-selected')) === 'true',
    'keyword tab stays chosen on the next page');
  check(await page.$eval('#keyword-filter', (i) => i.value) === '画面', 'filter kept');

  // Search for a Japanese word: every page holding it, with its line and a snippet.
  await page.click('#tab-search');
  await page.type('#search-text', '全文検索');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('search-status').textContent !== '');
  const results = () => page.$$eval('#search-results li', (items) => items.map((li) => ({
    line: li.querySelector('.line').textContent,
    hit: li.querySelector('.snippet mark').textContent,
    href: li.querySelector('a').getAttribute('href'),
  })));
  let found = await results();
  check(found.length === 1 && found[0].line === 'p 3  検索 & <置換>' && found[0].hit === '全文検索',
    'Japanese search result', found);
  await clickAndWait('#search-results a');
  check(fileOf(page.url()) === 'page3.html', 'search result opens page 3', page.url());
  const marks = () => page.$$eval('#page mark', (m) => m.map((e) => e.textContent));
  check(JSON.stringify(await marks()) === '["全文検索","全文検索"]', 'hits highlighted', await marks());
  await page.screenshot({ path: path.join(workDir, 'search.png') });

  // An ASCII word in another case finds the page and marks the word as written there.
  await page.click('#search-text', { clickCount: 3 });
  await page.type('#search-text', 'dATABASE');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => /p 2/.test(document.getElementById('search-results').textContent));
  found = await results();
  check(found.length === 1 && found[0].line === 'p 2  画面の見方' && found[0].hit === 'Database',
    'ASCII search ignoring case', found);
  await clickAndWait('#search-results a');
  check(JSON.stringify(await marks()) === '["Database"]', 'ASCII hit highlighted', await marks());

  // A page link goes to its page; the browser's back returns.
  await open('index.html');
  const links = await page.$$eval('#page a', (a) => a.map((e) => e.getAttribute('href')));
  check(JSON.stringify(links) === '["page3.html","https://example.com/help"]', 'page links',
    links);
  await clickAndWait('#page a[href="page3.html"]');
  check(fileOf(page.url()) === 'page3.html', 'page link opens page 3', page.url());
  await page.goBack({ waitUntil: 'load' });
  check(fileOf(page.url()) === 'index.html', 'back returns to page 1', page.url());
  await page.goForward({ waitUntil: 'load' });
  check(fileOf(page.url()) === 'page3.html', 'forward goes to page 3 again', page.url());

  // A link of another kind is text; page text with markup is text; nothing ran.
  await open('page4.html');
  const page4 = await page.$eval('#page', (m) => ({
    links: m.querySelectorAll('a').length, scripts: m.querySelectorAll('script').length,
    text: m.textContent }));
  check(page4.links === 0 && page4.scripts === 0, 'javascript link and script text inert', page4);
  check(page4.text.includes('Danger link') && page4.text.includes('<script>window.hacked=2</script>'),
    'their text kept', page4.text);
  check(await page.evaluate(() => window.hacked) === undefined, 'no page script ran');
  await page.click('#page p');
  check(await page.evaluate(() => window.hacked) === undefined, 'no script ran on a click');

  // Print: only the page.
  await page.emulateMediaType('print');
  const printed = await page.$eval('#panel', (p) => getComputedStyle(p).display);
  check(printed === 'none', 'panel not printed', printed);
  await page.emulateMediaType(null);

  // Phone width: the panel folds behind the button.
  await page.setViewport({ width: 390, height: 800, isMobile: true });
  await open('page2.html');
  const panelShown = () => page.$eval('#panel', (p) => getComputedStyle(p).display !== 'none');
  check(!(await panelShown()), 'panel folded on a phone');
  check(await page.$eval('#panel-button', (b) => getComputedStyle(b).display !== 'none'),
    'panel button on a phone');
  await page.screenshot({ path: path.join(workDir, 'phone.png') });
  await page.click('#panel-button');
  check(await panelShown(), 'button opens the panel');
  check(await page.$eval('#panel-button', (b) => b.getAttribute('aria-expanded')) === 'true',
    'button tells it is open');
  await page.screenshot({ path: path.join(workDir, 'phone-open.png') });

  // The reader's dark preference.
  await page.setViewport({ width: 1100, height: 760 });
  await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
  await open('page3.html');
  const dark = await page.$eval('#panel', (p) => getComputedStyle(p).backgroundColor);
  check(dark === 'rgb(36, 38, 42)', 'dark panel', dark);
  await page.screenshot({ path: path.join(workDir, 'dark.png') });

  check(problems.length === 0, 'no script errors, blocked loads or outside requests', problems);
} finally {
  await close();
}

if (failures.length) {
  console.error('FAILED:\n  ' + failures.join('\n  '));
  process.exit(1);
}
console.log('web help checks passed; screenshots in ' + workDir);
