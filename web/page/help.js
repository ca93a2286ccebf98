// The help window of the page: the topics of BAS.HLP, rendered when the page
// was built and held in <script type="application/json" id="help-topics">,
// in a modal dialog with the buttons of the desktop's help viewer: Obsah,
// Zpět (back through the topics visited) and Zavřít. Links lead from topic
// to topic; a context without a topic shows what the desktop viewer shows.

import { acceleratorButton } from './keys.js';

const contentsTopic = 'obsah';
const fileName = 'BAS.HLP';

// What only the browser does differently, added to the topics that speak of
// it, after the paragraph that holds `after` (or at the topic's end).
const browserNotes = [
    {
        topic: contentsTopic,
        after: 'F1',
        html:
            'V prohlížeči: kde si prohlížeč nebo systém nechává klávesu <strong>F1</strong> pro sebe, ' +
            'otevře nápovědu k poli kombinace <strong>Shift+F1</strong>. Bez klávesnice ji otevře ' +
            'tlačítko <strong>?</strong> v záhlaví okna.',
    },
    {
        topic: '3',
        after: 'vytiskne',
        html:
            'V prohlížeči: tlačítko <strong>Tisk</strong> otevře tiskový dialog prohlížeče; bez něj ' +
            'prohlížeč tisknout nedovolí. V dialogu zvolte tiskárnu (nebo uložení do PDF) a tisk ' +
            'potvrďte. Návrhový list se vejde na jednu stránku A4 na výšku.',
    },
];

let topics = null; // id → { title, html }
let dialog = null;
let parts = null; // the dialog's title, page and buttons
let visited = []; // the topics shown, the current one last
let showingError = false;
let giveFocusTo = null;

function loadTopics() {
    const data = document.getElementById('help-topics');
    const list = data ? JSON.parse(data.textContent).topics : [];
    topics = new Map(list.map((t) => [String(t.id), t]));
}

// A button whose caption marks its accelerator with "&", as on the desktop.
function button(caption, action) {
    const b = document.createElement('button');
    b.type = 'button';
    const at = caption.indexOf('&');
    const key = caption[at + 1];
    b.append(caption.slice(0, at), Object.assign(document.createElement('u'), { textContent: key }),
        caption.slice(at + 2));
    b.dataset.accelerator = key.toLowerCase();
    b.setAttribute('aria-keyshortcuts', `Alt+${key.toUpperCase()}`);
    b.addEventListener('click', action);
    return b;
}

function build() {
    dialog = document.createElement('dialog');
    dialog.className = 'vb-help';
    dialog.setAttribute('role', 'dialog');
    dialog.setAttribute('aria-modal', 'true');
    dialog.setAttribute('aria-labelledby', 'vb-help-title');

    const title = Object.assign(document.createElement('div'), { id: 'vb-help-title', className: 'vb-help-title' });
    const contents = button('&Obsah', () => go(contentsTopic));
    const back = button('&Zpět', goBack);
    const close = button('Za&vřít', closeHelp);
    const bar = Object.assign(document.createElement('div'), { className: 'vb-help-buttons' });
    bar.append(contents, back, Object.assign(document.createElement('span'), { className: 'vb-help-gap' }), close);
    const page = Object.assign(document.createElement('div'), { className: 'vb-help-page', tabIndex: 0 });
    page.setAttribute('role', 'document');
    page.setAttribute('aria-labelledby', 'vb-help-title');
    dialog.append(title, bar, page);
    parts = { title, page, contents, back };

    page.addEventListener('click', (event) => {
        const link = event.target.closest('a[data-topic]');
        if (!link) return;
        event.preventDefault();
        go(link.dataset.topic);
    });
    dialog.addEventListener('cancel', (event) => {
        event.preventDefault(); // Escape closes through closeHelp, which gives the focus back
        closeHelp();
    });
    dialog.addEventListener('keydown', onKey);
    document.body.append(dialog);
}

function focusable() {
    return [...dialog.querySelectorAll('button:not(:disabled), [tabindex="0"], a[href]')];
}

function onKey(event) {
    if (event.key === 'Escape') {
        event.preventDefault();
        closeHelp();
    } else if (event.key === 'F1') {
        event.preventDefault(); // the help is open already; not the browser's help
        event.stopPropagation();
    } else if (event.key === 'Tab') {
        // The focus stays in the dialog, going round.
        const all = focusable();
        const at = all.indexOf(document.activeElement);
        const next = event.shiftKey ? (at <= 0 ? all.length - 1 : at - 1) : (at + 1) % all.length;
        event.preventDefault();
        all[next].focus();
    } else {
        const target = acceleratorButton(event, dialog.querySelector('.vb-help-buttons'));
        if (target) {
            event.preventDefault();
            event.stopPropagation();
            if (!target.disabled) target.click();
        }
    }
}

function addNotes(page, id) {
    for (const note of browserNotes.filter((n) => n.topic === id)) {
        const p = Object.assign(document.createElement('p'), { className: 'vb-help-browser', innerHTML: note.html });
        const anchor = [...page.querySelectorAll('p, li')].find((e) => e.textContent.includes(note.after));
        (anchor ? anchor.closest('ul, ol') ?? anchor : page.lastElementChild ?? page).after(p);
    }
}

function show(id) {
    const topic = topics.get(String(id));
    const { title, page, contents, back } = parts;
    showingError = !topic;
    if (topic) {
        page.innerHTML = topic.html;
        addNotes(page, topic.id);
        title.textContent = `Nápověda - ${topic.title}`;
    } else {
        // As the desktop viewer says it, with the way to the contents.
        page.innerHTML = '';
        const heading = Object.assign(document.createElement('h2'), { textContent: 'Chyba' });
        const message = document.createElement('p');
        message.textContent = id === contentsTopic
            ? `Soubor nápovědy „${fileName}“ nemá obsah.`
            : `V souboru nápovědy „${fileName}“ není téma pro kontext ${id}.`;
        page.append(heading, message);
        if (topics.has(contentsTopic)) {
            const link = Object.assign(document.createElement('a'), { href: `#napoveda-${contentsTopic}`, textContent: 'Obsah nápovědy' });
            link.dataset.topic = contentsTopic;
            const p = document.createElement('p');
            p.append(link);
            page.append(p);
        }
        title.textContent = 'Nápověda - chyba';
    }
    page.scrollTop = 0;
    contents.disabled = !topics.has(contentsTopic);
    back.disabled = !(visited.length > 1 || (showingError && visited.length > 0));
    // A followed link is gone, a button may be disabled now: the focus
    // goes to the page.
    const focused = document.activeElement;
    if (!dialog.contains(focused) || focused.disabled) page.focus();
}

// Shows a topic; one that exists is added to the way back.
function go(id) {
    if (topics.has(String(id)) && visited.at(-1) !== String(id)) visited.push(String(id));
    show(id);
}

function goBack() {
    if (!showingError) visited.pop();
    if (visited.length > 0) show(visited.at(-1));
}

function closeHelp() {
    if (!dialog?.open) return;
    dialog.close();
    visited = [];
    const target = giveFocusTo;
    giveFocusTo = null;
    target?.focus?.();
}

// Opens the help at the topic of a help context (a number), or at the
// contents ('obsah'), and gives the focus back to `returnFocusTo` on close.
export function openHelp(context, returnFocusTo) {
    if (!topics) loadTopics();
    if (!dialog) build();
    if (!dialog.open) {
        visited = [];
        giveFocusTo = returnFocusTo ?? document.activeElement;
        dialog.showModal();
    }
    go(String(context));
    parts.page.focus();
}
