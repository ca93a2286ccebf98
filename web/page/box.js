// The program's message boxes and its beep.
//
// A message box is modal: a caption, the stop icon, the text and one OK
// button, which is the default button and the one Escape chooses. While it
// is open the rest of the page takes no input; when it closes, the focus
// goes back where it was. Boxes asked for while one is open follow it.

const stopIcon = '<svg class="box-icon" viewBox="0 0 32 32" width="32" height="32" aria-hidden="true">' +
    '<circle cx="16" cy="16" r="15" fill="#d40000" stroke="#800000"/>' +
    '<path d="M10 10L22 22M22 10L10 22" stroke="#fff" stroke-width="3.5" stroke-linecap="square"/></svg>';

let queue = Promise.resolve();
let count = 0;

// The application's title, as the desktop program names itself.
export function applicationTitle() {
    return document.querySelector('title').textContent;
}

function open({ caption, text }) {
    return new Promise((resolve) => {
        const id = `box-${++count}`;
        const box = document.createElement('dialog');
        box.className = 'message-box';
        box.setAttribute('role', 'alertdialog');
        box.setAttribute('aria-labelledby', `${id}-caption`);
        box.setAttribute('aria-describedby', `${id}-text`);
        box.innerHTML = `<div class="caption-bar"><span class="caption-text" id="${id}-caption"></span></div>` +
            `<div class="box-body">${stopIcon}<p class="box-text" id="${id}-text"></p></div>` +
            '<div class="box-buttons"><button type="button" class="box-ok">OK</button></div>';
        box.querySelector('.caption-text').textContent = caption;
        box.querySelector('.box-text').textContent = text;
        const ok = box.querySelector('.box-ok');
        const giveBack = document.activeElement;
        const close = () => {
            box.close();
            box.remove();
            if (giveBack?.isConnected) giveBack.focus({ preventScroll: true });
            resolve();
        };
        ok.addEventListener('click', close);
        box.addEventListener('cancel', (event) => {
            event.preventDefault();
            close();
        });
        box.addEventListener('keydown', (event) => {
            // The box takes every key; F1 is not the browser's here either.
            if (event.key === 'Tab' || event.key === 'F1' || event.altKey) event.preventDefault();
            event.stopPropagation();
        });
        document.body.append(box);
        box.showModal();
        ok.focus();
    });
}

// Shows a box and resolves when it is closed.
export function messageBox(request) {
    queue = queue.then(() => open(request));
    return queue;
}

// The application's error box: an error that ended a handler.
export function showError(message) {
    return messageBox({ caption: applicationTitle(), text: `${message}.` });
}

let audio = null;

// The message beep: a short tone. A page may not sound before the person
// has done something in it; a keystroke counts.
export function messageBeep() {
    try {
        audio ??= new AudioContext();
        if (audio.state === 'suspended') audio.resume();
        const tone = audio.createOscillator();
        const level = audio.createGain();
        const now = audio.currentTime;
        tone.type = 'square';
        tone.frequency.value = 880;
        level.gain.setValueAtTime(0.08, now);
        level.gain.exponentialRampToValueAtTime(0.001, now + 0.12);
        tone.connect(level).connect(audio.destination);
        tone.start(now);
        tone.stop(now + 0.12);
    } catch {
        // No sound in this browser: the character is refused all the same.
    }
}
