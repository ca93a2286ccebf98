// The windows' layouts for the page, read from the Designer files in
// resources/forms when the page is built: every control becomes an element
// at its position and size, with its caption, font, colours, maximum typed
// length, help context and accessible name, in the window's tab order.
// Behaviour is attached by the page's scripts, which find the controls by
// their ids: the window's name without its class "T" and the control's
// name, "Form1-Edit10".

import { XMLParser } from 'fast-xml-parser';

// The page control's pages lie inside its frame, under the tabs.
const pageOrigin = { x: 4, y: 24 };
// A dialog frame's border and title bar around the client area.
export const frame = { border: 1, caption: 20 };
// Buttons that show one of the toolkit's standard pictures.
const standardGlyphs = {
    'QStyle::SP_MessageBoxQuestion': 'help',
    'QStyle::SP_DialogCancelButton': 'cancel',
};

// ---- the XML ---------------------------------------------------------------

function element(node) {
    const tag = Object.keys(node).find((k) => k !== ':@');
    const content = node[tag] ?? [];
    return {
        tag,
        attrs: node[':@'] ?? {},
        children: content.filter((c) => !('#text' in c)).map(element),
        text: content.filter((c) => '#text' in c).map((c) => c['#text']).join(''),
    };
}

function child(el, tag) {
    return el.children.find((c) => c.tag === tag);
}

// The value of a <property> or <attribute>: its one typed child.
function value(prop) {
    const v = prop.children[0];
    const field = (tag) => child(v, tag)?.text;
    switch (v.tag) {
    case 'rect':
        return { x: +field('x'), y: +field('y'), w: +field('width'), h: +field('height') };
    case 'font':
        return { family: field('family'), points: +field('pointsize'), bold: field('bold') === 'true' };
    case 'color':
        return [+field('red'), +field('green'), +field('blue')];
    case 'number':
        return +v.text;
    case 'bool':
        return v.text === 'true';
    default: // string, enum, set, cursorShape
        return v.text;
    }
}

function widget(el) {
    const props = {};
    for (const p of el.children.filter((c) => c.tag === 'property' || c.tag === 'attribute'))
        props[p.attrs.name] = value(p);
    return {
        cls: el.attrs.class,
        name: el.attrs.name,
        props,
        children: el.children.filter((c) => c.tag === 'widget').map(widget),
    };
}

// The window of a .ui file: { name, title, rect, font, root, tabStops }.
export function readForm(xml) {
    const parser = new XMLParser({
        preserveOrder: true, ignoreAttributes: false, attributeNamePrefix: '',
        trimValues: false, parseTagValue: false, processEntities: true,
    });
    const ui = element(parser.parse(xml).find((n) => 'ui' in n));
    const root = widget(child(ui, 'widget'));
    const tabStops = (child(ui, 'tabstops')?.children ?? []).map((t) => t.text);
    return { name: root.name.replace(/^T/, ''), title: root.props.windowTitle, root, tabStops };
}

// ---- the HTML --------------------------------------------------------------

const escapes = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' };
export function esc(text) {
    return String(text).replace(/[&<>"]/g, (c) => escapes[c]);
}

// A caption's "&" marks the next letter as the accelerator ("&&" is an "&").
export function caption(text) {
    let html = '';
    let key = null;
    for (let i = 0; i < text.length; i++) {
        if (text[i] === '&' && text[i + 1] === '&') {
            html += '&amp;';
            i++;
        } else if (text[i] === '&' && i + 1 < text.length && key === null) {
            key = text[++i];
            html += `<u>${esc(key)}</u>`;
        } else {
            html += esc(text[i]);
        }
    }
    return { html, key, plain: text.replace(/&(.)/g, '$1') };
}

// Points at 96 pixels per inch, to the nearest pixel.
function pixels(points) {
    return Math.floor((points * 192 + 72) / 144);
}

// A caption colour legible on the button face (contrast 4.5:1 at least, as
// text of its size needs): the layout's colour, darkened as far as needed.
const face = [239, 239, 239];
function luminance(rgb) {
    const linear = rgb.map((c) => (c / 255 <= 0.04045 ? c / 255 / 12.92 : ((c / 255 + 0.055) / 1.055) ** 2.4));
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2];
}
export function legible(rgb, background = face) {
    const contrast = (c) => (luminance(background) + 0.05) / (luminance(c) + 0.05);
    let colour = rgb;
    for (let k = 1; contrast(colour) < 4.5 && k > 0; k -= 1 / 64) colour = rgb.map((c) => Math.floor(c * k));
    return `rgb(${colour.join(', ')})`;
}

function fontStyle(font) {
    if (!font) return '';
    // The page's own Liberation Sans stands in for a family the browser lacks.
    return `font:${font.bold ? 'bold ' : ''}${pixels(font.points)}px "${font.family}",ventbox-sans;`;
}

function boxStyle(rect) {
    return rect ? `left:${rect.x}px;top:${rect.y}px;width:${rect.w}px;height:${rect.h}px;` : '';
}

function attrs(list) {
    return Object.entries(list)
        .filter(([, v]) => v !== undefined && v !== false && v !== null)
        .map(([k, v]) => (v === true ? ` ${k}` : ` ${k}="${esc(v)}"`))
        .join('');
}

function pictureName(path) {
    return path.replace(/^.*\//, '').replace(/\.bmp$/i, '');
}

// Children in the window's tab order: a control that takes the focus by
// its tab stop, a container by its first focusable control, and anything
// else stays just before the control that follows it in the file.
function inTabOrder(children, tabIndex) {
    const first = (w) => Math.min(tabIndex.get(w.name) ?? Infinity, ...w.children.map(first));
    const keys = children.map(first);
    for (let i = keys.length - 2; i >= 0; i--) {
        if (keys[i] === Infinity) keys[i] = keys[i + 1] - 0.5;
    }
    return children.map((w, i) => ({ w, k: keys[i], i }))
        .sort((a, b) => (a.k === b.k ? a.i - b.i : a.k < b.k ? -1 : 1))
        .map((e) => e.w);
}

class FormWriter {
    constructor(form) {
        this.form = form;
        this.prefix = form.name;
        this.tabIndex = new Map(form.tabStops.map((n, i) => [n, i]));
        this.pictures = new Set();
        this.names = new Set();
    }

    id(name) {
        return `${this.prefix}-${name}`;
    }

    children(list) {
        return inTabOrder(list, this.tabIndex).map((w) => this.widget(w)).join('');
    }

    common(w, cls, extra = {}) {
        this.names.add(w.name);
        const p = w.props;
        return attrs({
            id: this.id(w.name),
            class: cls,
            style: boxStyle(p.geometry) + fontStyle(p.font) + (extra.style ?? ''),
            'data-help': p.helpContext || undefined,
            ...Object.fromEntries(Object.entries(extra).filter(([k]) => k !== 'style')),
        });
    }

    widget(w) {
        const p = w.props;
        switch (w.cls) {
        case 'QLabel':
            return `<span${this.common(w, 'label')}>${esc(p.text ?? '')}</span>`;
        case 'TGroupBox': {
            const title = this.id(`${w.name}-caption`);
            return `<div${this.common(w, 'groupbox', { role: 'group', 'aria-labelledby': title })}>` +
                `<span class="groupbox-frame"></span>` +
                `<span class="groupbox-caption" id="${title}" style="color:${p.captionColor ? legible(p.captionColor) : 'inherit'}">${esc(p.title)}</span>` +
                `${this.children(w.children)}</div>`;
        }
        case 'TEdit':
            return `<input${this.common(w, 'edit', {
                type: 'text', inputmode: 'decimal', autocomplete: 'off', spellcheck: 'false',
                'aria-label': p.accessibleName, 'data-max': p.maxTypedLength, readonly: p.readOnly === true,
            })}>`;
        case 'TSpinEdit':
            return `<span${this.common(w, 'spinedit', { id: this.id(`${w.name}-box`) })}>` +
                `<input${attrs({
                    id: this.id(w.name), type: 'text', inputmode: 'decimal', autocomplete: 'off',
                    spellcheck: 'false', role: 'spinbutton', 'aria-label': p.accessibleName,
                    'data-help': p.helpContext || undefined, 'data-max': 3, value: String(p.value ?? 1),
                })}>` +
                `<span class="spin-up" aria-hidden="true"></span><span class="spin-down" aria-hidden="true"></span></span>`;
        case 'TBitBtn': {
            const c = caption(p.text ?? '');
            const glyph = p.glyph ? pictureName(p.glyph) : standardGlyphs[p.standardGlyph];
            if (p.glyph) this.pictures.add(glyph);
            return `<button${this.common(w, 'bitbtn', {
                type: 'button', disabled: p.enabled === false,
                'aria-label': p.accessibleName && p.accessibleName !== c.plain.trim() ? p.accessibleName : undefined,
                'aria-keyshortcuts': c.key ? `Alt+${c.key.toUpperCase()}` : undefined,
                'data-accelerator': c.key?.toLowerCase(), 'data-kind': p.kind === 'TBitBtn::Close' ? 'close' : undefined,
            })}><span class="glyph"${attrs({ 'data-glyph': glyph })}></span><span class="bitbtn-caption">${c.html}</span></button>`;
        }
        case 'TTransparentBitmap': {
            const name = pictureName(p.picture);
            this.pictures.add(name);
            return `<canvas${this.common(w, 'tbitmap', {
                'aria-hidden': 'true', width: p.geometry.w, height: p.geometry.h,
                'data-picture': name, 'data-key': p.TransparentColor ?? -1,
            })}></canvas>`;
        }
        case 'QFrame': {
            const shadow = p.frameShadow === 'QFrame::Sunken' ? 'sunken' : 'raised';
            return `<div${this.common(w, `panel ${shadow}`, {
                style: `--line:${p.lineWidth ?? 1}px;${p.cursor === 'WaitCursor' ? 'cursor:wait;' : ''}`,
            })}>${this.children(w.children)}</div>`;
        }
        case 'QTabWidget':
            return this.pageControl(w);
        default:
            throw new Error(`${this.form.name}: no page control for ${w.cls} ${w.name}`);
        }
    }

    pageControl(w) {
        const current = w.props.currentIndex ?? 0;
        const tabs = w.children.map((page, i) => {
            this.names.add(page.name);
            return `<button${attrs({
                type: 'button', role: 'tab', id: this.id(`${page.name}-tab`), class: 'tab',
                'aria-controls': this.id(page.name), 'aria-selected': String(i === current),
                tabindex: i === current ? '0' : '-1', 'data-help': page.props.helpContext || undefined,
            })}>${esc(page.props.title)}</button>`;
        }).join('');
        const pages = w.children.map((page, i) => `<div${attrs({
            id: this.id(page.name), class: 'tabsheet', role: 'tabpanel',
            'aria-labelledby': this.id(`${page.name}-tab`), 'data-help': page.props.helpContext || undefined,
            style: `left:${pageOrigin.x}px;top:${pageOrigin.y}px;` +
                `width:${w.props.geometry.w - 2 * pageOrigin.x}px;height:${w.props.geometry.h - pageOrigin.y - pageOrigin.x}px;`,
            hidden: i !== current,
        })}>${this.children(page.children)}</div>`).join('');
        return `<div${this.common(w, 'pagecontrol')}><div class="tabs" role="tablist">${tabs}</div>` +
            `<div class="pagecontrol-frame"></div>${pages}</div>`;
    }
}

// The window's element: a dialog frame with a title bar (its caption, a
// help button for touch, the close box) around the client area, or the
// client area alone for a borderless window.
export function formHtml(form, { frame: kind, label, heading = 'h2' }) {
    const writer = new FormWriter(form);
    const { root } = form;
    const client = `<div class="client" style="${boxStyle({ ...root.props.geometry, x: 0, y: 0 })}${fontStyle(root.props.font)}">` +
        `${writer.children(root.children)}</div>`;
    for (const stop of form.tabStops) {
        if (!writer.names.has(stop)) throw new Error(`${form.name}: the tab stop ${stop} names no control`);
    }
    const title = writer.id('caption');
    const { w, h } = root.props.geometry;
    const outer = kind === 'dialog'
        ? { w: w + 2 * frame.border, h: h + 2 * frame.border + frame.caption }
        : { w, h };
    const size = { style: `width:${outer.w}px;height:${outer.h}px`, 'data-width': outer.w, 'data-height': outer.h };
    const html = kind === 'dialog'
        ? `<section${attrs({ id: form.name, class: 'form dialog-frame', 'aria-labelledby': title, ...size, hidden: true })}>` +
            `<div class="caption-bar"><${heading} class="caption-text" id="${title}">${esc(form.title)}</${heading}>` +
            `<button type="button" class="caption-help" tabindex="-1" aria-label="Nápověda k vybranému poli" title="Nápověda k vybranému poli">?</button>` +
            `<button type="button" class="caption-close" tabindex="-1" aria-label="Zavřít" title="Zavřít">×</button></div>` +
            `${client}</section>`
        : `<section${attrs({ id: form.name, class: 'form borderless', 'aria-label': label, ...size })}>${client}</section>`;
    return { html, pictures: writer.pictures };
}
