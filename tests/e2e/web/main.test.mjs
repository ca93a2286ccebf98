// The page's windows in headless chromium, as a person uses them: the
// shared example designs and port areas typed key by key, pasting, the
// message boxes, F1 and the accelerators, the tab order of the layouts, a
// phone's narrow screen, and axe-core's accessibility check.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';

import {
    areaControls, chord, clear, focused, launch, openAreaWindow, openDialog, openPage, paste, requestsOf, results, root,
    selectShape, tables, text, typeDesign, typeInto, visible, webRequire,
} from './harness.mjs';

const closeDialog = (page) => page.keyboard.press('Escape');

async function typeArea(page, row) {
    const controls = areaControls[row.shape];
    await selectShape(page, row.shape);
    for (const [i, id] of controls.dims.entries()) await typeInto(page, `#Form2-${id}`, row.dims[i]);
    await typeInto(page, `#Form2-${controls.count}`, row.count);
    return `#Form2-${controls.area}`;
}

let browser;
before(async () => {
    browser = await launch();
});
after(() => browser?.close());

describe('the windows on a desktop screen', () => {
    let page;
    before(async () => {
        page = await openPage(browser);
    });

    test('every example design typed key by key gives the desktop results', async () => {
        for (const design of tables().designs) {
            await typeDesign(page, design.in);
            assert.deepEqual(await results(page), [design.length, design.qtc, design.fb], design.name);
        }
    });

    test('every example port area typed key by key gives its area; the insert button follows it', async () => {
        await openAreaWindow(page);
        const mainRight = await page.$eval('#Form1', (e) => e.getBoundingClientRect().right);
        assert.ok(await page.$eval('#Form2', (e) => e.getBoundingClientRect().left) >= mainRight, 'beside the main window');
        for (const row of tables().areas) {
            const area = await typeArea(page, row);
            assert.equal(await text(page, area), row.text, row.name);
            assert.equal(await page.$eval('#Form2-BitBtn12', (b) => b.disabled), row.text === '', row.name);
            await typeInto(page, `#Form2-${areaControls[row.shape].count}`, '1');
        }
    });

    test('a count outside its range becomes its bound when the focus leaves, before the insert', async () => {
        const zero = tables().areas.find((a) => a.outcome === 'ok' && a.count === '0');
        const one = tables().areas.find((a) => a.shape === zero.shape && a.dims[0] === zero.dims[0] && a.count === '1');
        await typeArea(page, zero);
        await page.click('#Form2-BitBtn12');
        assert.equal(await text(page, '#Form1-Edit10'), one.text);
    });

    test('pasting is not filtered, ends at the first line end and at the maximum length', async () => {
        await clear(page, '#Form1-Edit1');
        await paste(page, '#Form1-Edit1', '1,5e+7\r\n8');
        assert.equal(await text(page, '#Form1-Edit1'), '1,5e');
        await clear(page, '#Form1-Edit6');
        await paste(page, '#Form1-Edit6', 'x\n123');
        assert.equal(await text(page, '#Form1-Edit6'), 'x');
    });

    test('an overflow from a pasted exponent shows the error box, which gives the focus back', async () => {
        await typeDesign(page, tables().designs[0].in);
        await clear(page, '#Form1-Edit10');
        await paste(page, '#Form1-Edit10', '1e39');
        const box = await openDialog(page);
        assert.equal(box.name, await page.$eval('title', (t) => t.textContent));
        assert.match(box.text, /overflow\.$/);
        await page.keyboard.press('Enter');
        await page.waitForSelector('dialog[open]', { hidden: true });
        assert.equal(await focused(page), 'Form1-Edit10');
        assert.deepEqual(await results(page), ['', '', '']);
    });

    test('" Tisk" without a complete result shows the message box', async () => {
        await page.click('#Form1-BitBtn4');
        assert.deepEqual(await openDialog(page), {
            name: 'Error', text: 'Nejsou vyplněny všechny potřebné údaje !!!', className: 'message-box',
        });
        await closeDialog(page);
    });

    test('F1 opens the help of the focused control, and nothing on a control without help', async () => {
        await page.focus('#Form1-Edit6');
        await page.keyboard.press('F1');
        assert.match((await openDialog(page)).className, /help/);
        await closeDialog(page);
        assert.equal(await focused(page), 'Form1-Edit6', 'the focus comes back');
        await page.focus('#Form1-BitBtn4');
        await page.keyboard.press('F1');
        assert.equal(await page.$('dialog[open]'), null);
        await page.click('#Form1 .caption-help');
        assert.match((await openDialog(page)).className, /help/, 'the title bar\'s "?" opens it by touch');
        await closeDialog(page);
    });

    test('Alt with an underlined letter presses the button of the window that has the focus', async () => {
        await page.click('#Form2-BitBtn2');
        await page.focus('#Form1-Edit1');
        await chord(page, 'Alt', 'KeyV');
        await page.waitForSelector(visible('Form2'));
        await chord(page, 'Alt', 'KeyZ');
        await page.waitForSelector(visible('Form2'), { hidden: true });
    });

    test('Tab moves the focus in the tab order of the layouts', async () => {
        const ui = readFileSync(resolve(root, 'resources/forms/Unit1.ui'), 'utf8');
        const order = [...ui.matchAll(/<tabstop>(\w+)<\/tabstop>/g)].map((m) => `Form1-${m[1]}`);
        await page.focus(`#${order[0]}`);
        const seen = [await focused(page)];
        for (let i = 1; i < order.length; i++) {
            await page.keyboard.press('Tab');
            seen.push(await focused(page));
        }
        assert.deepEqual(seen, order);
    });

    test('axe-core finds no accessibility violation', async () => {
        await openAreaWindow(page);
        await page.evaluate(readFileSync(webRequire.resolve('axe-core/axe.min.js'), 'utf8'));
        const check = () => page.evaluate(async () => (await window.axe.run(document)).violations
            .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
        assert.deepEqual(await check(), []);
        await page.click('#Form1-BitBtn4');
        await openDialog(page);
        assert.deepEqual(await check(), [], 'with the message box open');
        await closeDialog(page);
    });

    test('the page asks for nothing outside itself', () => {
        assert.deepEqual(requestsOf(page).filter((url) => !/^(file|data|blob):/.test(url)), []);
    });
});

test('on a phone\'s screen the windows fit the width, without scrolling sideways', async () => {
    const page = await openPage(browser, undefined, { width: 390, height: 844 });
    await openAreaWindow(page);
    const fits = await page.evaluate(() => {
        const boxes = ['Form1', 'Form2'].map((id) => document.getElementById(id).getBoundingClientRect());
        return {
            scroll: document.documentElement.scrollWidth - document.documentElement.clientWidth,
            left: Math.min(...boxes.map((b) => b.left)),
            right: Math.max(...boxes.map((b) => b.right)),
        };
    });
    assert.equal(fits.scroll, 0);
    assert.ok(fits.left >= 0 && fits.right <= 390, JSON.stringify(fits));
    assert.equal(await page.$eval('#Form1-Edit1', (e) => e.inputMode), 'decimal');
    await page.close();
});
