// The windows: the desk they lie on, and the main window (Form1) and the
// port area window (Form2) with what their controls do. Every number and
// text they show is the calculation core's.

import { glyphImages, paintBitmap } from './bitmap.js';
import { messageBox, showError } from './box.js';
import { CountField, EditField } from './fields.js';
import { openHelp } from './help.js';
import { printSheet } from './sheet.js';

const gap = 8;

// ---- the desk and its windows ----------------------------------------------

// The windows keep their sizes in pixels of the layouts; on a screen
// narrower than the main window the whole desk is scaled down to fit its
// width.
export class Desk {
    constructor(element) {
        this.element = element;
        this.windows = [];
        this.zoom = 1;
        this.top = 10;
        addEventListener('resize', () => this.fit());
    }

    add(win) {
        this.windows.push(win);
    }

    get width() {
        return document.documentElement.clientWidth / this.zoom;
    }

    get height() {
        return document.documentElement.clientHeight / this.zoom;
    }

    // The scale at which the widest window of the page fits the screen.
    fit() {
        const widest = Math.max(...[...this.element.querySelectorAll('.form')].map((e) => Number(e.dataset.width)));
        this.zoom = Math.min(1, (document.documentElement.clientWidth - 2 * gap) / widest);
        this.element.style.zoom = String(this.zoom);
        // Pictures drawn smaller than their pixels are smoothed, larger ones not.
        this.element.classList.toggle('shrunk', this.zoom * devicePixelRatio < 1);
        this.element.style.width = `${this.width}px`;
        for (const win of this.windows) {
            if (!win.element.hidden) win.keepInside();
        }
        const bottom = Math.max(0, ...this.windows.filter((w) => !w.element.hidden).map((w) => w.y + w.height));
        this.element.style.height = `${Math.max(this.height, bottom + gap)}px`;
    }

    raise(win) {
        win.element.style.zIndex = String(++this.top);
    }

    // The window that has the focus, or else the topmost one shown.
    active() {
        const shown = this.windows.filter((w) => !w.element.hidden);
        return shown.find((w) => w.element.contains(document.activeElement)) ??
            shown.sort((a, b) => Number(b.element.style.zIndex) - Number(a.element.style.zIndex))[0];
    }
}

export class Window {
    constructor(desk, element, { onClose } = {}) {
        this.desk = desk;
        this.element = element;
        this.width = Number(element.dataset.width);
        this.height = Number(element.dataset.height);
        this.x = 0;
        this.y = 0;
        this.placed = false;
        this.lastFocus = null;
        this.onClose = onClose ?? (() => this.hide());
        desk.add(this);
        element.addEventListener('focusin', (e) => {
            this.lastFocus = e.target;
            desk.raise(this);
        });
        element.addEventListener('pointerdown', () => desk.raise(this));
        element.querySelector('.caption-close')?.addEventListener('click', () => this.onClose());
        element.querySelector('.caption-help')?.addEventListener('click', () => {
            const context = helpContextOf(this.lastFocus);
            openHelp(context || 'obsah', this.lastFocus ?? this.firstControl());
        });
        const bar = element.querySelector('.caption-bar');
        if (bar) this.draggable(bar);
    }

    moveTo(x, y) {
        this.x = x;
        this.y = y;
        this.element.style.left = `${x}px`;
        this.element.style.top = `${y}px`;
    }

    // In the middle of the screen; with `topWhenScaled` at its top where the
    // windows are scaled down, which on a phone leaves the rest to its
    // keyboard.
    centre(topWhenScaled = false) {
        const { width, height, zoom } = this.desk;
        const top = topWhenScaled && zoom < 1 ? gap : Math.max(0, (height - this.height) / 2);
        this.moveTo(Math.max(0, (width - this.width) / 2), top);
    }

    // Right of another window where the desk has room, otherwise under it.
    beside(other) {
        if (other.x + other.width + gap + this.width <= this.desk.width)
            this.moveTo(other.x + other.width + gap, other.y);
        else
            this.moveTo(Math.max(0, other.x + (other.width - this.width) / 2), other.y + other.height + gap);
    }

    keepInside() {
        const x = Math.min(this.x, this.desk.width - this.width);
        this.moveTo(Math.max(0, x), Math.max(0, this.y));
    }

    show(place) {
        const first = this.element.hidden;
        this.element.hidden = false;
        this.desk.fit();
        if (!this.placed) {
            place();
            this.placed = true;
            this.desk.fit();
        }
        this.desk.raise(this);
        if (first) this.element.scrollIntoView?.({ block: 'nearest', inline: 'nearest' });
        this.activate();
    }

    // The window takes the focus where it last had it.
    activate() {
        const target = this.lastFocus && isFocusable(this.lastFocus) ? this.lastFocus : this.firstControl();
        target?.focus({ preventScroll: true });
    }

    firstControl() {
        return [...this.element.querySelectorAll('input, button:not([tabindex="-1"]), [role="tab"][tabindex="0"]')]
            .find(isFocusable);
    }

    hide() {
        const hadFocus = this.element.contains(document.activeElement);
        this.element.hidden = true;
        this.desk.fit();
        if (hadFocus) this.desk.active()?.activate();
    }

    draggable(bar) {
        bar.addEventListener('pointerdown', (e) => {
            if (e.target.closest('button') || e.button !== 0) return;
            e.preventDefault();
            bar.setPointerCapture(e.pointerId);
            const start = { px: e.clientX, py: e.clientY, x: this.x, y: this.y };
            const move = (m) => {
                const zoom = this.desk.zoom;
                this.moveTo(start.x + (m.clientX - start.px) / zoom, Math.max(0, start.y + (m.clientY - start.py) / zoom));
            };
            const end = () => {
                bar.removeEventListener('pointermove', move);
                this.keepInside();
                this.desk.fit();
            };
            bar.addEventListener('pointermove', move);
            bar.addEventListener('pointerup', end, { once: true });
            bar.addEventListener('pointercancel', end, { once: true });
        });
    }
}

function isFocusable(element) {
    return element.isConnected && !element.disabled && element.closest('[hidden]') === null;
}

// The help context of a control: its own, or that of the nearest control
// around it in its window; 0 for none.
export function helpContextOf(element) {
    const holder = element?.closest('[data-help], .form');
    return holder?.dataset.help ? Number(holder.dataset.help) : 0;
}

// Picture buttons get their pictures; transparent bitmaps are drawn.
export function paintPictures(root) {
    for (const glyph of root.querySelectorAll('.glyph[data-glyph]')) {
        if (glyph.dataset.glyph === 'cancel') {
            glyph.innerHTML = '<svg viewBox="0 0 16 16" width="16" height="16" aria-hidden="true">' +
                '<path d="M3 3L13 13M13 3L3 13" stroke="#d00000" stroke-width="3" stroke-linecap="round"/></svg>';
            continue;
        }
        const [normal, disabled] = glyphImages(glyph.dataset.glyph);
        normal.className = 'glyph-normal';
        disabled.className = 'glyph-disabled';
        glyph.append(normal, disabled);
    }
    for (const canvas of root.querySelectorAll('canvas.tbitmap')) paintBitmap(canvas);
}

function button(element, action) {
    element.addEventListener('click', action);
}

// ---- the main window ---------------------------------------------------------

export function mainWindow(core, desk, { end }) {
    const control = (name) => document.getElementById(`Form1-${name}`);
    const win = new Window(desk, control('caption').closest('.form'), { onClose: end });
    const read = (name) => new EditField(control(name), { passes: () => true, changed: () => {} });
    const [Edit9, Edit7, Edit8] = ['Edit9', 'Edit7', 'Edit8'].map(read);
    // The answer of the design sheet, kept from the last recalculation that
    // stored a Qtc.
    let shorten = null;

    const recalculate = () => {
        const result = core.recalculate(inputs.map((f) => f.text));
        if (result.shorten !== null) shorten = result.shorten;
        if (result.outcome === 'ok') {
            Edit9.setText(result.length);
            Edit8.setText(result.fb);
            Edit7.setText(result.qtc);
            return;
        }
        for (const field of [Edit9, Edit7, Edit8]) field.setText('');
        if (result.outcome === 'overflow') showError(core.overflowMessage);
    };
    // The inputs in the order the core takes them: Fs, Qts, Vas, Rdc, Re, S, Vb.
    const names = ['Edit1', 'Edit2', 'Edit3', 'Edit4', 'Edit5', 'Edit10', 'Edit6'];
    const inputs = names.map((name) =>
        new EditField(control(name), { passes: (c) => core.decimalKeyPasses(c), changed: recalculate }));
    const field = Object.fromEntries(names.map((name, i) => [name, inputs[i]]));

    button(control('BitBtn3'), (e) => openHelp('obsah', e.currentTarget));
    button(control('BitBtn2'), end);
    button(control('BitBtn4'), () => {
        // An empty Fb: no complete, valid design stands.
        if (Edit8.text === '') {
            messageBox({ caption: 'Error', text: 'Nejsou vyplněny všechny potřebné údaje !!!' });
            return;
        }
        printSheet({
            FolioLabel25: `${field.Edit1.text} Hz`,
            FolioLabel26: field.Edit2.text,
            FolioLabel27: `${field.Edit3.text} l`,
            FolioLabel28: `${field.Edit4.text} Ohm`,
            FolioLabel29: `${field.Edit5.text} Ohm`,
            FolioLabel30: `${field.Edit10.text} cm2`,
            FolioLabel31: `${field.Edit6.text} l`,
            FolioLabel32: `${Edit9.text} cm`,
            FolioLabel33: Edit7.text,
            FolioLabel34: `${Edit8.text} Hz`,
            FolioLabel36: shorten,
        });
    });

    field.Edit5.setText('0');
    return { win, field, button: control };
}

// ---- the port area window ----------------------------------------------------

export function areaWindow(core, desk, main) {
    const control = (name) => document.getElementById(`Form2-${name}`);
    const win = new Window(desk, control('caption').closest('.form'));
    const insert = control('BitBtn12');
    const tabs = [
        { sheet: 'TabSheet1', shape: 'circle', dimensions: ['Edit1'], count: 'SpinEdit2', area: 'Edit6' },
        { sheet: 'TabSheet2', shape: 'rectangle', dimensions: ['edit3', 'Edit5'], count: 'SpinEdit1', area: 'Edit4' },
        { sheet: 'TabSheet3', shape: 'square', dimensions: ['Edit2'], count: 'SpinEdit3', area: 'Edit7' },
        { sheet: 'TabSheet4', shape: 'triangle', dimensions: ['Edit8'], count: 'SpinEdit4', area: 'Edit9' },
    ];
    let active = tabs[0];

    const insertFollows = () => {
        insert.disabled = active.areaField.text === '';
    };
    for (const tab of tabs) {
        tab.areaField = new EditField(control(tab.area), { passes: () => true, changed: insertFollows });
        const compute = () => {
            const result = core.portArea(tab.shape, tab.dimensionFields.map((f) => f.text), tab.countField.text);
            tab.areaField.setText(result.outcome === 'ok' ? result.text : '');
            if (result.outcome === 'overflow') showError(core.overflowMessage);
        };
        tab.dimensionFields = tab.dimensions.map((name) =>
            new EditField(control(name), { passes: (c) => core.decimalKeyPasses(c), changed: compute }));
        tab.countField = new CountField(control(tab.count), { core, changed: compute });
        tab.tab = control(`${tab.sheet}-tab`);
        tab.page = control(tab.sheet);
    }

    const select = (tab, focus) => {
        for (const t of tabs) {
            t.tab.setAttribute('aria-selected', String(t === tab));
            t.tab.tabIndex = t === tab ? 0 : -1;
            t.page.hidden = t !== tab;
        }
        const changed = tab !== active;
        active = tab;
        if (focus) tab.tab.focus();
        if (changed) insertFollows();
    };
    for (const tab of tabs) {
        tab.tab.addEventListener('click', () => select(tab, true));
        tab.tab.addEventListener('keydown', (e) => {
            const at = tabs.indexOf(tab);
            const to = { ArrowRight: at + 1, ArrowLeft: at - 1, Home: 0, End: tabs.length - 1 }[e.key];
            if (to === undefined) return;
            e.preventDefault();
            select(tabs[(to + tabs.length) % tabs.length], true);
        });
    }

    button(insert, () => main.field.Edit10.setText(active.areaField.text));
    button(control('BitBtn1'), (e) => openHelp('obsah', e.currentTarget));
    button(control('BitBtn2'), () => win.hide());
    return { win };
}
