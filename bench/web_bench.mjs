// The page's figures in headless chromium, beside their aims.
//
// Start-up: from the navigation's start to the splash painted (the page's
// own mark "ventbox-splash-painted", set in the first frame after the
// splash is shown), against a minimal page of the same size that marks its
// first frame the same way: one paragraph and, inert, as many bytes as the
// page holds. Each is the median of --runs loads in a fresh tab, the two
// taking turns.
//
// A keystroke: a digit typed into Vb of a filled design, then taken away
// again: the work from the key's keydown until its input is handled and the
// page laid out anew (the recalculation and the fields' update), and the
// next frame's rendering, from its start to the first task after it (the
// paint);
// without the wait for the frame between them. Median and worst of 40.
//
// The file: its size, plain and gzipped (level 9).
//
//   node bench/web_bench.mjs build-web/ventbox.html [--runs N]

import { readFileSync, writeFileSync, mkdtempSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const require = createRequire(new URL('../web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');

const args = process.argv.slice(2);
const pagePath = resolve(args.find((a) => !a.startsWith('--')) ?? 'build-web/ventbox.html');
const runsAt = args.indexOf('--runs');
const runs = runsAt >= 0 ? Number(args[runsAt + 1]) : 7;

const median = (xs) => {
    const s = [...xs].sort((a, b) => a - b);
    const m = s.length >> 1;
    return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
};
const ms = (x) => `${x.toLocaleString('en', { maximumFractionDigits: 1 })} ms`;

const html = readFileSync(pagePath);
const marker = 'ventbox-splash-painted';
const minimalHead = '<!DOCTYPE html><html lang="cs"><head><meta charset="utf-8"><title>ventbox</title></head>'
    + `<body><p>ventbox</p><script>requestAnimationFrame(() => setTimeout(() => performance.mark('${marker}')));</script>`
    + '<script type="text/plain">';
const minimalTail = '</script></body></html>';
const padding = Math.max(0, html.length - minimalHead.length - minimalTail.length);
const minimalPath = join(mkdtempSync(join(tmpdir(), 'ventbox-bench-')), 'minimal.html');
writeFileSync(minimalPath, minimalHead + 'x'.repeat(padding) + minimalTail);

const browser = await puppeteer.launch({
    executablePath: process.env.VENTBOX_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu'],
});

async function splashTime(path) {
    const tab = await browser.newPage();
    await tab.goto(pathToFileURL(path).href, { waitUntil: 'load' });
    const t = await tab.waitForFunction(
        (name) => performance.getEntriesByName(name)[0]?.startTime, { polling: 'raf' }, marker);
    const value = await t.jsonValue();
    await tab.close();
    return value;
}

const page = [];
const minimal = [];
await splashTime(minimalPath); // the browser's own start, in neither figure
for (let i = 0; i < runs; ++i) {
    page.push(await splashTime(pagePath));
    minimal.push(await splashTime(minimalPath));
}

const ratio = median(page) / median(minimal);
console.log(`splash painted        ${ms(median(page))}   (minimal page of the same size ${ms(median(minimal))}; `
    + `${ratio.toLocaleString('en', { maximumFractionDigits: 2 })} x, aim at most 1.2 x)`);

// A keystroke in a filled design.
const tab = await browser.newPage();
await tab.goto(pathToFileURL(pagePath).href);
await tab.waitForSelector('#Form1:not([hidden])', { visible: true, timeout: 10000 });
const tables = JSON.parse(readFileSync(resolve(pagePath, '../tables.json'), 'utf8'));
const fields = ['Edit1', 'Edit2', 'Edit3', 'Edit4', 'Edit5', 'Edit10', 'Edit6'].map((e) => `Form1-${e}`);
for (const [i, id] of fields.entries()) {
    await tab.click(`#${id}`, { clickCount: 3 });
    await tab.keyboard.press('Backspace');
    await tab.type(`#${id}`, tables.designs[0].in[i]);
}
await tab.evaluate(() => {
    globalThis.keystrokes = [];
    let t0 = 0;
    document.getElementById('Form1-Edit6').addEventListener('keydown', () => {
        t0 = performance.now();
    }, { capture: true });
    // After the field's own handlers: the input bubbles up to the window.
    addEventListener('input', () => {
        void document.documentElement.offsetHeight; // style and layout, now
        const work = performance.now() - t0;
        requestAnimationFrame(() => {
            const frame = performance.now();
            const after = new MessageChannel();
            after.port1.onmessage = () => globalThis.keystrokes.push(work + performance.now() - frame);
            after.port2.postMessage(0);
        });
    });
});
for (let i = 0; i < 40; ++i) {
    await tab.keyboard.press(i % 2 ? 'Backspace' : '0');
    await tab.waitForFunction((n) => globalThis.keystrokes.length > n, {}, i);
}
const keystrokes = await tab.evaluate(() => globalThis.keystrokes);
const length = await tab.$eval('#Form1-Edit9', (e) => e.value);
await browser.close();
if (length !== tables.designs[0].length)
    throw new Error(`the keystrokes left L=${length}, not ${tables.designs[0].length}`);

const gzipped = gzipSync(html, { level: 9 }).length;
const kb = (n) => `${(n / 1024).toLocaleString('en', { maximumFractionDigits: 0 })} KiB`;
console.log(`keystroke             ${ms(median(keystrokes))} median, ${ms(Math.max(...keystrokes))} worst `
    + '(aim under 16 ms)');
console.log(`ventbox.html          ${kb(html.length)}, gzipped ${kb(gzipped)} (aim under 1.5 MB gzipped)`);
