// What every browser engine must do with the page (chromium by default,
// VENTBOX_BROWSER=firefox for firefox-esr): the splash, then the main
// window; a design typed key by key; the key filter; the port area insert.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { areaControls, beeps, launch, openAreaWindow, openPage, results, tables, text, typeDesign, typeInto, visible, waitForMain } from './harness.mjs';

let browser;
let page;

before(async () => {
    browser = await launch();
});
after(() => browser?.close());

test('the splash shows for three seconds, then the main window alone', async () => {
    page = await openPage(browser, undefined, { main: false });
    assert.ok(await page.$(visible('Form4')), 'the splash is shown at once');
    assert.equal(await page.$(visible('Form1')), null);
    await waitForMain(page);
    const shownAt = await page.evaluate(() => performance.now());
    assert.ok(shownAt >= 3000 && shownAt < 7000, `main window after ${shownAt} ms`);
    assert.equal(await page.$(visible('Form4')), null, 'the splash is gone');
    assert.equal(await text(page, '#Form1-Edit5'), '0', 'Re starts at 0');
});

test('a design typed key by key shows its results', async () => {
    const design = tables().designs[0];
    await typeDesign(page, design.in);
    assert.deepEqual(await results(page), [design.length, design.qtc, design.fb]);
    await typeInto(page, '#Form1-Edit5', '');
    assert.equal(await text(page, '#Form1-Edit8'), '', 'an empty Re clears the results');
});

test('a refused character beeps and changes nothing; typing stops at the maximum length', async () => {
    await typeInto(page, '#Form1-Edit1', '');
    const before = await beeps(page);
    await page.keyboard.type(',-e a');
    assert.equal(await text(page, '#Form1-Edit1'), '');
    assert.equal(await beeps(page) - before, 5, 'one beep for each refused character');
    await page.keyboard.type('12.53');
    assert.equal(await text(page, '#Form1-Edit1'), '12.5', 'Fs takes four characters');
    assert.equal(await beeps(page) - before, 5, 'a full field does not beep');
});

test('the port area window computes the area and inserts it as S', async () => {
    const row = tables().areas.find((a) => a.shape === 'circle' && a.outcome === 'ok' && a.count === '1');
    const circle = areaControls.circle;
    await openAreaWindow(page);
    await typeInto(page, `#Form2-${circle.dims[0]}`, row.dims[0]);
    assert.equal(await text(page, `#Form2-${circle.area}`), row.text);
    await page.click('#Form2-BitBtn12');
    assert.equal(await text(page, '#Form1-Edit10'), row.text);
    assert.ok(await page.$(visible('Form2')), 'the port area window stays open');
});
