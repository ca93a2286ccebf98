// The help window and the design sheet in Debian's chromium: F1 and
// Shift+F1 open a field's topic, links and Zpět, the Help button opens the
// contents, the focus goes back on close; the sheet as the browser prints
// it to PDF holds the texts where the desktop's sheet test holds them, on
// one A4 portrait page; served over HTTP the page is installable and opens
// offline.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join } from 'node:path';
import { after, before, test } from 'node:test';

import { chord, focused, launch, openDialog, openPage, pagePath, root, tables, typeDesign, waitForMain, webRequire } from './harness.mjs';

const source = (path) => readFileSync(join(root, path), 'utf8');

// The help's topic titles, as BAS.HLP heads its topics.
const titles = Object.fromEntries([...source('resources/BAS.HLP').matchAll(/^<!-- topic (\S+) -->\s*\n## (.*)$/gm)]
    .map((m) => [m[1], `Nápověda - ${m[2]}`]));

// What the desktop's sheet test holds: each text's first word in points
// from the page's top-left corner (the value items with placeholders), the
// date/time written the Czech way at its fixed moment.
const desktopSheet = [...source('tests/report/report_sheet_test.cpp')
    .matchAll(/"(Folio\w+)",\s*"([^"]*)",\s*([\d.]+),\s*([\d.]+),/g)]
    .map(([, name, text, x, y]) => ({ name, text, x: Number(x), y: Number(y) }));
const moment = /QDate\((\d+), (\d+), (\d+)\), QTime\((\d+), (\d+), (\d+)\)/
    .exec(source('tests/support/sheettest.cpp')).slice(1).map(Number);

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

// The help window as a person meets it: its name, its page, whether it
// holds the focus and whether Zpět can be pressed.
async function help(page) {
    const { name, className } = await openDialog(page);
    assert.equal(className, 'vb-help');
    return { name, ...await page.$eval('dialog[open]', (dialog) => ({
        text: dialog.querySelector('.vb-help-page').innerText,
        focusInside: dialog.contains(document.activeElement),
        back: [...dialog.querySelectorAll('button')].find((b) => b.textContent === 'Zpět').disabled ? 'disabled' : 'enabled',
    })) };
}
const closed = (page) => page.waitForSelector('dialog[open]', { hidden: true });

test('F1 and Shift+F1 open the field\'s topic; links, Zpět and Escape', async () => {
    const page = await openPage(browser);
    // Opened from disk, the page names no manifest.
    assert.equal(await page.$('link[rel="manifest"]'), null);
    await page.focus('#Form1-Edit2');
    await page.keyboard.press('F1');
    const first = await help(page);
    assert.deepEqual([first.name, first.focusInside, first.back], [titles['1'], true, 'disabled']);

    await page.click('.vb-help-page a[data-topic="2"]');
    assert.equal((await help(page)).name, titles['2']);
    await chord(page, 'Alt', 'KeyZ');
    const back = await help(page);
    assert.deepEqual([back.name, back.back], [titles['1'], 'disabled']);

    // The focus goes round inside the help; axe-core finds nothing amiss.
    for (let i = 0; i < 12; i++) await page.keyboard.press('Tab');
    assert.ok((await help(page)).focusInside);
    await page.evaluate(readFileSync(webRequire.resolve('axe-core/axe.min.js'), 'utf8'));
    assert.deepEqual(await page.evaluate(async () => (await window.axe.run(document)).violations.map((v) => v.id)), []);
    await page.keyboard.press('Escape');
    await closed(page);

    // Where the browser keeps F1, Shift+F1; the port length's topic.
    await page.focus('#Form1-Edit9');
    await chord(page, 'Shift', 'F1');
    assert.equal((await help(page)).name, titles['3']);
    await page.close();
});

test('the Help button opens the contents, which tell what the browser does differently', async () => {
    const page = await openPage(browser);
    await page.click('#Form1-BitBtn3');
    const contents = await help(page);
    assert.equal(contents.name, titles.obsah);
    assert.match(contents.text, /Shift\+F1/);
    await page.click('.vb-help-page a[data-topic="3"]');
    assert.match((await help(page)).text, /tiskový dialog prohlížeče/);
    await page.click('.vb-help-buttons button:last-child'); // Zavřít
    await closed(page);
    assert.equal(await focused(page), 'Form1-BitBtn3');
    await page.close();
});

// The words of the PDF's page with their boxes, as pdftotext sees them.
function pdfWords(pdf) {
    const xml = execFileSync('pdftotext', ['-bbox', pdf, '-'], { encoding: 'utf8' });
    const entities = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };
    return [...xml.matchAll(/<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="[-\d.]+" yMax="[-\d.]+">([^<]*)<\/word>/g)]
        .map(([, x, y, text]) => ({ x: Number(x), y: Number(y), text: text.replace(/&(\w+);/g, (_, e) => entities[e]) }));
}

// The bounds [left, top, right, bottom] of the pixels of a picture
// `width` wide and `height` high for which dark(x, y) holds.
function inkBounds(width, height, dark) {
    const xs = [];
    const ys = [];
    for (let y = 0; y < height; y++) for (let x = 0; x < width; x++) if (dark(x, y)) xs.push(x) && ys.push(y);
    return [Math.min(...xs), Math.min(...ys), Math.max(...xs), Math.max(...ys)];
}

test('the design sheet prints where the desktop prints it, alone on one A4 page', async () => {
    const design = tables().designs[0];
    const page = await openPage(browser);
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setLocaleOverride', { locale: 'cs-CZ' });
    // The print dialog is the browser's own: the call is recorded, the page
    // printed to PDF instead. The clock stands at the desktop test's moment.
    await page.evaluate(([y, mo, d, h, mi, s]) => {
        window.printed = 0;
        window.print = () => window.printed++;
        const at = new Date(y, mo - 1, d, h, mi, s).getTime();
        const RealDate = Date;
        window.Date = class extends RealDate {
            constructor(...args) { super(...(args.length ? args : [at])); }
            static now() { return at; }
        };
    }, moment);

    await typeDesign(page, design.in);
    await page.click('#Form1-BitBtn4');
    await page.waitForFunction(() => window.printed === 1);

    const work = mkdtempSync(join(tmpdir(), 'ventbox-sheet-'));
    try {
        const pdf = join(work, 'sheet.pdf');
        await page.pdf({ path: pdf, preferCSSPageSize: true });
        const info = execFileSync('pdfinfo', [pdf], { encoding: 'utf8' });
        assert.match(info, /^Pages:\s+1$/m);
        assert.match(info, /^Page size:\s+594\.\d+ x 841\.\d+ pts \(A4\)$/m);

        // The value items hold the texts of the fields, with their units.
        const units = [' Hz', '', ' l', ' Ohm', ' Ohm', ' cm2', ' l'];
        const texts = [...design.in.map((t, i) => t + units[i]), `${design.length} cm`, design.qtc, `${design.fb} Hz`, design.shorten];
        const values = Object.fromEntries([25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 36].map((n, i) => [`FolioLabel${n}`, texts[i]]));
        const words = pdfWords(pdf);
        let printed = 0;
        for (const row of desktopSheet) {
            const text = values[row.name] ?? row.text;
            const expected = text.split(' ').filter(Boolean);
            const line = words.filter((w) => Math.abs(w.y - row.y) <= 1 && w.x >= row.x - 1).sort((a, b) => a.x - b.x);
            assert.equal(line.slice(0, expected.length).map((w) => w.text).join(' '), expected.join(' '), row.name);
            assert.ok(Math.abs(line[0].x - row.x) <= 1, `${row.name} at ${line[0].x} pt, not ${row.x}`);
            printed += expected.length;
        }
        assert.equal(words.length, printed, 'nothing but the sheet is printed');

        // The sketch, unstretched, its top-left corner at the picture box's
        // (464, 89 + 136), cut to the box's 217 rows: its ink where the
        // bitmap's is (8 bits a pixel, rows of 120 bytes, bottom up).
        const bmp = readFileSync(join(root, 'resources/pictures/sketch.bmp'));
        const [pixels, height, palette] = [bmp.readUInt32LE(10), bmp.readInt32LE(22), 14 + bmp.readUInt32LE(14)];
        const drawn = inkBounds(120, 217, (x, y) => bmp[palette + 4 * bmp[pixels + (height - 1 - y) * 120 + x]] < 128);
        execFileSync('pdftoppm', ['-r', '96', '-gray', pdf, join(work, 'page')]);
        const pgm = readFileSync(join(work, 'page-1.pgm'));
        const [header, width] = /^P5\s+(\d+)\s+\d+\s+\d+\s/.exec(pgm.toString('latin1', 0, 40));
        const at = (x, y) => pgm[header.length + y * Number(width) + x];
        // Right of the texts, above the date: nothing but the sketch.
        const onPage = inkBounds(260, 297, (x, y) => at(440 + x, 200 + y) < 128).map((v, i) => v + [440, 200][i % 2]);
        const expected = drawn.map((v, i) => v + [464, 89 + 136][i % 2]);
        assert.ok(onPage.every((v, i) => Math.abs(v - expected[i]) <= 1), `sketch at ${onPage}, not ${expected}`);
    } finally {
        rmSync(work, { recursive: true, force: true });
    }
    await page.close();
});

test('served over HTTP: a service worker, the manifest, and the page opens offline', async () => {
    const types = { '.html': 'text/html', '.js': 'text/javascript', '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
    const server = createServer((request, response) => {
        const file = join(dirname(pagePath()), new URL(request.url, 'http://host').pathname);
        if (!existsSync(file)) return response.writeHead(404).end();
        return response.writeHead(200, { 'content-type': types[extname(file)] }).end(readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    try {
        const page = await openPage(browser, `http://127.0.0.1:${server.address().port}/ventbox.html`);
        const manifest = await page.evaluate(async () => {
            await navigator.serviceWorker.ready;
            const link = document.querySelector('link[rel="manifest"]');
            return (await fetch(link.href)).json();
        });
        assert.equal(manifest.start_url, 'ventbox.html');
        assert.equal(manifest.display, 'standalone');
        assert.ok(manifest.icons.some((icon) => icon.sizes === '128x128'));
        await page.setOfflineMode(true);
        await page.reload();
        await waitForMain(page);
        await page.close();
    } finally {
        server.close();
    }
});
