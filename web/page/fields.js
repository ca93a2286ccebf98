// The edit fields of the windows and the count fields of the port area
// window.
//
// What is typed is decided on the browser's beforeinput events, which
// on-screen keyboards send as well, not on key codes: each typed character
// passes the field's key filter or is refused with the beep, and the text
// stays as it was. The maximum length limits only what is typed or pasted;
// a text the program sets is taken whole. Pasting is not filtered: the
// pasted text is cut at its first line end and to the room left. Nothing
// can be dropped into a field. The clipboard and undo keys (Ctrl or Cmd
// with A, C, V, X, Y, Z, and Ctrl+Backspace) reach a field as the control
// characters they type, so its key filter decides on them too.

import { messageBeep } from './box.js';

const lineEnd = /[\r\n]/;
const controlKeys = new Set(['a', 'c', 'v', 'x', 'y', 'z']);
// Editing commands of the browser that the fields do not have (deleting a
// word forward or a whole line, undo and redo): refused without a sound,
// unless the field's filter rejects the character they type.
const foreignEdits = new Set(['deleteWordForward', 'deleteSoftLineBackward', 'deleteSoftLineForward',
    'deleteHardLineBackward', 'deleteHardLineForward', 'deleteEntireSoftLine']);

class TextField {
    // `filter(character)`: true, false (refused with the beep) or 'silent'
    // (refused without it); `changed(field)` runs on every change of the text.
    constructor(input, { filter, changed }) {
        this.input = input;
        this.filter = filter;
        this.onChange = changed;
        this.max = Number(input.dataset.max) || 0;
        this.last = input.value;
        this.unchecked = false;
        if (input.readOnly) return;
        input.addEventListener('beforeinput', (e) => this.beforeInput(e));
        input.addEventListener('input', (e) => this.afterInput(e));
        input.addEventListener('compositionend', () => this.afterInput({}));
        input.addEventListener('paste', (e) => {
            e.preventDefault();
            this.paste(e.clipboardData?.getData('text/plain') ?? '');
        });
        input.addEventListener('keydown', (e) => this.keyDown(e));
        input.addEventListener('dragover', (e) => e.preventDefault());
        input.addEventListener('drop', (e) => e.preventDefault());
    }

    get text() {
        return this.input.value;
    }

    // Sets the text as the program does: whole, and a change only when it
    // differs.
    setText(text) {
        if (text === this.input.value) return;
        this.input.value = text;
        this.changed();
    }

    changed() {
        if (this.input.value === this.last) return;
        this.last = this.input.value;
        this.onChange(this);
    }

    room() {
        if (!this.max) return Infinity;
        const { selectionStart: from, selectionEnd: to, value } = this.input;
        return Math.max(0, this.max - (value.length - (to - from)));
    }

    insert(piece) {
        const { selectionStart: from, selectionEnd: to } = this.input;
        this.input.setRangeText(piece, from, to, 'end');
        this.changed();
    }

    // The characters of a typed text that the filter lets through, cut to
    // the room left; the beep sounds for any it refused.
    passing(data) {
        const kept = [...data].filter((c) => this.filter(c) === true);
        if ([...data].some((c) => this.filter(c) === false)) messageBeep();
        return kept.slice(0, this.room()).join('');
    }

    beforeInput(e) {
        const type = e.inputType;
        if (type === 'insertText' || type === 'insertReplacementText') {
            const data = e.data ?? e.dataTransfer?.getData('text/plain') ?? '';
            if (!e.cancelable) {
                this.unchecked = true; // a composition: checked when it ends
                return;
            }
            const kept = this.passing(data);
            if (kept === data) return; // the browser inserts it
            e.preventDefault();
            if (kept) this.insert(kept);
        } else if (type === 'insertFromPaste' || type === 'insertFromPasteAsQuotation') {
            e.preventDefault();
            this.paste(e.dataTransfer?.getData('text/plain') ?? '');
        } else if (type === 'insertFromDrop' || type === 'insertLink') {
            e.preventDefault();
        } else if (type === 'deleteWordBackward') {
            this.refuseControl(e, '\x7f');
        } else if (type === 'historyUndo' || type === 'historyRedo') {
            this.refuseControl(e, type === 'historyUndo' ? '\x1a' : '\x19');
        } else if (foreignEdits.has(type)) {
            e.preventDefault();
        } else if (type.startsWith('insert') && type !== 'insertCompositionText') {
            e.preventDefault(); // line breaks and the like: a line field has none
        } else if (type === 'insertCompositionText' && !e.cancelable) {
            this.unchecked = true;
        }
    }

    // A key that types a control character the field does not edit with:
    // refused, with the beep if the filter says so.
    refuseControl(e, character) {
        e.preventDefault();
        if (this.filter(character) === false) messageBeep();
    }

    keyDown(e) {
        const key = e.key.length === 1 ? e.key.toLowerCase() : '';
        if ((e.ctrlKey || e.metaKey) && !e.altKey && controlKeys.has(key))
            this.refuseControl(e, String.fromCharCode(key.charCodeAt(0) - 96));
    }

    // Text pasted: unfiltered, up to the first line end and the room left.
    paste(text) {
        let piece = text;
        const end = piece.search(lineEnd);
        if (end >= 0) piece = piece.slice(0, end);
        piece = [...piece].slice(0, this.room()).join('');
        const { selectionStart, selectionEnd } = this.input;
        if (piece || selectionStart !== selectionEnd) this.insert(piece);
    }

    afterInput(e) {
        if (e.isComposing) return;
        if (this.unchecked) {
            this.unchecked = false;
            this.checkInserted();
        }
        this.changed();
    }

    // What a composition inserted, put through the filter after the fact.
    checkInserted() {
        const before = this.last;
        const now = this.input.value;
        let head = 0;
        while (head < before.length && head < now.length && before[head] === now[head]) head++;
        let tail = 0;
        while (tail < before.length - head && tail < now.length - head &&
            before[before.length - 1 - tail] === now[now.length - 1 - tail]) tail++;
        const inserted = now.slice(head, now.length - tail);
        const kept = [...inserted].filter((c) => this.filter(c) === true);
        if ([...inserted].some((c) => this.filter(c) === false)) messageBeep();
        // the text that stays around what was inserted: head + tail
        const room = this.max ? Math.max(0, this.max - head - tail) : Infinity;
        const piece = kept.slice(0, room).join('');
        if (piece === inserted) return;
        this.input.value = now.slice(0, head) + piece + now.slice(now.length - tail);
        this.input.setSelectionRange(head + piece.length, head + piece.length);
    }
}

// An edit field with the decimal key filter of the calculation core
// (`passes(character)`), or, read-only, without one.
export class EditField extends TextField {
    constructor(input, { passes, changed }) {
        super(input, { filter: (c) => passes(c), changed });
    }
}

// The locale's decimal separator, which the count fields take as a key;
// asked for at the first key (the locale's data take a while to load).
let separator = null;
function decimalSeparator() {
    separator ??= new Intl.NumberFormat().formatToParts(1.5).find((p) => p.type === 'decimal')?.value ?? '.';
    return separator;
}

// A count field: digits, "+", "-" and the locale's decimal separator may be
// typed, at most three characters; other characters beep, control
// characters other than Enter are taken silently and do nothing. The arrows
// and the Up and Down keys step the count, kept within its range; when the
// focus goes to another control, a count outside the range becomes the
// nearer bound. The rules of the texts are the calculation core's.
export class CountField extends TextField {
    constructor(input, { core, changed }) {
        super(input, {
            filter: (c) => (/^[0-9+-]$/.test(c) || c === decimalSeparator() ? true : c < ' ' || c === '\x7f' ? 'silent' : false),
            changed: (field) => {
                this.describe();
                changed(field);
            },
        });
        this.core = core;
        input.setAttribute('aria-valuemin', String(core.countMinimum));
        input.setAttribute('aria-valuemax', String(core.countMaximum));
        this.describe();
        input.addEventListener('blur', () => {
            // Only when another control of the page takes the focus, not
            // when the whole page loses it.
            if (!document.hasFocus()) return;
            const bound = core.countTextOnLeave(this.text);
            if (bound !== null) this.setText(bound);
        });
        const box = input.parentElement;
        for (const [part, delta] of [['.spin-up', 1], ['.spin-down', -1]]) {
            box.querySelector(part).addEventListener('pointerdown', (e) => {
                e.preventDefault();
                input.focus();
                this.step(delta);
            });
        }
    }

    describe() {
        this.input.setAttribute('aria-valuenow', String(this.core.countFromText(this.text)));
        this.input.setAttribute('aria-valuetext', this.text);
    }

    step(delta) {
        this.setText(this.core.countTextStepped(this.text, delta));
    }

    keyDown(e) {
        if (e.key === 'ArrowUp' || e.key === 'ArrowDown') {
            e.preventDefault();
            this.step(e.key === 'ArrowUp' ? 1 : -1);
        } else if (e.key === 'PageUp' || e.key === 'PageDown') {
            e.preventDefault();
        } else if (e.key === 'Enter') {
            e.preventDefault();
            messageBeep();
        } else {
            super.keyDown(e);
        }
    }
}
