// The browser edition driven as a person would: the page opened from the
// disk in a real browser, Debian's chromium or firefox-esr (VENTBOX_BROWSER=
// firefox), headless, through puppeteer-core; keys typed as real key
// events. VENTBOX_PAGE names the page (build-web/ventbox.html),
// VENTBOX_TABLES the shared example tables (build-web/tables.json).

import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

export const root = resolve(dirname(fileURLToPath(import.meta.url)), '../../..');
export const webRequire = createRequire(resolve(root, 'web/package.json'));
const { default: puppeteer } = await import(pathToFileURL(webRequire.resolve('puppeteer-core')));

export const engine = process.env.VENTBOX_BROWSER === 'firefox' ? 'firefox' : 'chrome';
export const pagePath = () => resolve(process.env.VENTBOX_PAGE ?? resolve(root, 'build-web/ventbox.html'));
let shared = null;
export const tables = () => (shared ??= JSON.parse(readFileSync(process.env.VENTBOX_TABLES ?? resolve(root, 'build-web/tables.json'), 'utf8')));

export function launch() {
    return puppeteer.launch(engine === 'firefox'
        ? { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true, extraPrefsFirefox: { 'media.autoplay.default': 0 } }
        : { executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'] });
}

// Counts the beeps: every tone the page starts through Web Audio.
function countBeeps() {
    window.ventboxBeeps = 0;
    const start = OscillatorNode.prototype.start;
    OscillatorNode.prototype.start = function counted(...args) {
        window.ventboxBeeps += 1;
        return start.apply(this, args);
    };
}

const requests = new WeakMap();

// A new tab with the page (from the disk unless `url` says otherwise), by
// default once its main window is shown.
export async function openPage(browser, url = pathToFileURL(pagePath()).href, { width = 1280, height = 900, main = true } = {}) {
    const page = await browser.newPage();
    await page.setViewport({ width, height });
    await page.evaluateOnNewDocument(countBeeps);
    requests.set(page, []);
    page.on('request', (r) => requests.get(page).push(r.url()));
    await page.goto(url);
    if (main) await waitForMain(page);
    return page;
}

// Every address the page asked for.
export const requestsOf = (page) => requests.get(page);

export const visible = (id) => `#${id}:not([hidden])`;

export function waitForMain(page) {
    return page.waitForSelector(visible('Form1'), { timeout: 20000 });
}

export const text = (page, selector) => page.$eval(selector, (e) => e.value);
export const focused = (page) => page.evaluate(() => document.activeElement?.id ?? '');
export const beeps = (page) => page.evaluate(() => window.ventboxBeeps);

// Empties a field as a person does: everything selected, then Backspace.
export async function clear(page, selector) {
    await page.focus(selector);
    await page.$eval(selector, (e) => e.setSelectionRange(0, e.value.length));
    await page.keyboard.press('Backspace');
}

// Types into a field with real key events, after emptying it unless told.
export async function typeInto(page, selector, keys, { clear: empty = true } = {}) {
    if (empty) await clear(page, selector);
    else await page.focus(selector);
    await page.keyboard.type(keys);
}

// The main window's inputs in the tables' order (Fs, Qts, Vas, Rdc, Re, S,
// Vb), typed key by key; its results L, Qtc and Fb.
const inputs = ['Edit1', 'Edit2', 'Edit3', 'Edit4', 'Edit5', 'Edit10', 'Edit6'].map((n) => `#Form1-${n}`);
export async function typeDesign(page, texts) {
    for (const [i, field] of inputs.entries()) await typeInto(page, field, texts[i]);
}
export const results = (page) => Promise.all(['Edit9', 'Edit7', 'Edit8'].map((n) => text(page, `#Form1-${n}`)));

export async function chord(page, modifier, key) {
    await page.keyboard.down(modifier);
    await page.keyboard.press(key);
    await page.keyboard.up(modifier);
}

// Pastes text into a field through the browser's clipboard: copied from a
// scratch text area with Ctrl+C, pasted with Shift+Insert.
export async function paste(page, selector, data) {
    await page.evaluate((value) => {
        const scratch = Object.assign(document.createElement('textarea'), { id: 'harness-clipboard', value });
        document.body.append(scratch);
        scratch.select();
    }, data);
    await chord(page, 'Control', 'KeyC');
    await page.evaluate(() => document.getElementById('harness-clipboard').remove());
    await page.focus(selector);
    await chord(page, 'Shift', 'Insert');
}

// The open modal box or dialog: its name, its text and its class.
export async function openDialog(page) {
    const dialog = await page.waitForSelector('dialog[open]', { timeout: 5000 });
    return dialog.evaluate((d) => {
        const by = (attribute) => document.getElementById(d.getAttribute(attribute))?.textContent ?? null;
        return { name: by('aria-labelledby'), text: by('aria-describedby'), className: d.className };
    });
}

export async function openAreaWindow(page) {
    await page.click('#Form1-BitBtn1');
    await page.waitForSelector(visible('Form2'));
}

// The port area window's controls for each shape, and choosing its tab.
export const areaControls = {
    circle: { tab: 'TabSheet1', dims: ['Edit1'], count: 'SpinEdit2', area: 'Edit6' },
    rectangle: { tab: 'TabSheet2', dims: ['edit3', 'Edit5'], count: 'SpinEdit1', area: 'Edit4' },
    square: { tab: 'TabSheet3', dims: ['Edit2'], count: 'SpinEdit3', area: 'Edit7' },
    triangle: { tab: 'TabSheet4', dims: ['Edit8'], count: 'SpinEdit4', area: 'Edit9' },
};
export const selectShape = (page, shape) => page.click(`#Form2-${areaControls[shape].tab}-tab`);
