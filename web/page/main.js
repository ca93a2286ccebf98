// Start-up of the page: the splash window shows at once and for three
// seconds, while the calculation core starts; then the main window. Also
// the keys that work across a window: F1 (and Shift+F1, where the browser
// keeps F1 for itself) for the help of the focused control, and Alt with a
// caption's underlined letter for its button.

import { paintBitmap } from './bitmap.js';
import { showError } from './box.js';
import { Desk, Window, areaWindow, helpContextOf, mainWindow, paintPictures } from './forms.js';
import { openHelp } from './help.js';
import { registerInstall } from './install.js';
import { acceleratorButton } from './keys.js';

const splashTime = 3000;

// The splash's timer runs from the splash's creation.
const splashOver = new Promise((resolve) => setTimeout(resolve, splashTime));
const desk = new Desk(document.getElementById('desk'));
const splash = new Window(desk, document.getElementById('Form4'));

for (const canvas of splash.element.querySelectorAll('canvas.tbitmap')) paintBitmap(canvas);
desk.fit();
splash.centre();
requestAnimationFrame(() => setTimeout(() => performance.mark('ventbox-splash-painted')));

// The page holds the splash, then this script, then the other windows and
// the core's script as text, which runs once the splash is on the screen
// and the page is read: it holds the WebAssembly and takes a moment to read.
const pageRead = document.readyState === 'loading'
    ? new Promise((resolve) => document.addEventListener('DOMContentLoaded', resolve, { once: true }))
    : Promise.resolve();

function startCore() {
    const painted = new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    return Promise.all([painted, pageRead]).then(() => {
        const source = document.getElementById('ventbox-core');
        const script = document.createElement('script');
        script.textContent = source.textContent;
        document.head.append(script);
        source.remove();
        return globalThis.createVentboxCore();
    });
}

function end() {
    for (const win of desk.windows) win.element.hidden = true;
    const ended = document.getElementById('ended');
    ended.hidden = false;
    ended.querySelector('button').focus();
}

function onKey(e) {
    if (document.querySelector('dialog[open]')) return; // a modal box has the keys
    if (e.key === 'F1') {
        e.preventDefault();
        const focused = document.activeElement;
        const context = focused && desk.active()?.element.contains(focused) ? helpContextOf(focused) : 0;
        if (context) openHelp(context, focused);
        return;
    }
    const win = desk.active();
    const target = win && acceleratorButton(e, win.element);
    if (!target) return;
    e.preventDefault();
    if (!target.disabled) target.click();
}

async function start() {
    await pageRead; // the windows after the splash
    document.getElementById('restart').addEventListener('click', () => location.reload());
    registerInstall();
    let core;
    try {
        core = await startCore();
    } catch (error) {
        await splashOver;
        splash.element.hidden = true;
        await showError(`Výpočet nelze spustit: ${error?.message ?? error}`);
        end();
        return;
    }
    for (const form of ['Form1', 'Form2']) paintPictures(document.getElementById(form));
    const main = mainWindow(core, desk, { end });
    const area = areaWindow(core, desk, main);
    main.button('BitBtn1').addEventListener('click', () => area.win.show(() => area.win.beside(main.win)));
    document.addEventListener('keydown', onKey, true);

    await splashOver;
    splash.element.hidden = true;
    main.win.show(() => main.win.centre(true));
}

start();
